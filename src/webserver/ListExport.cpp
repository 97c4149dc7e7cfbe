#include "ListExport.h"

#include "ServerListMenu.h"

#include "common/AdapterTable.h"
#include "devices/CommissioningLog.h"
#include "devices/DeviceListing.h"
#include "devices/DeviceSearch.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QUrl>
#include <QWindow>

ListExport::ListExport(ServerListMenu& menu, const DeviceSearch& search, const AdapterTable& nics, Services& services,
                       QWidget& window)
    : QObject(&menu), search_(search), nics_(nics), services_(services), window_(window)
{
    menu.setListOffered([this] { return devicesListed(); });
    connect(&menu, &ServerListMenu::copyListRequested, this, &ListExport::copyList);
    connect(&menu, &ServerListMenu::saveListRequested, this, &ListExport::saveListAs);
    connect(&menu, &ServerListMenu::logFolderRequested, this, &ListExport::openLogFolder);
}

// The dialog has no parent widget (see saveListAs), so it goes with the window by hand.
ListExport::~ListExport() { delete dialog_; }

// Every listed entry is a webserver's reply: the search lists nothing else as an entry.
bool ListExport::devicesListed() const { return !search_.listing().replyFirsts().empty(); }

std::string ListExport::listing(bool forFile) const
{
    return FormatListing(ListDevices(search_.listing(), nics_.first(nics_.count()), search_.unicastTargets()),
                         forFile ? ListingFormat::CsvFile : ListingFormat::Tsv);
}

void ListExport::copyList() { QGuiApplication::clipboard()->setText(QString::fromStdString(listing(false))); }

void ListExport::saveListAs()
{
    if (dialog_)
        return;
    // What the list shows now is saved, even when a search replaces it while the user chooses.
    const std::string bytes = listing(true);
    const QString name = QStringLiteral("hoptrace-devices-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate));
    // A fresh account may have no documents folder yet: the home folder then, not wherever
    // the program was started from.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    // Not a child of the window, which disables itself while a search runs (one follows each
    // command, also while the dialog is open); modal to it all the same, through the window
    // system, as the message boxes are.
    dialog_ = new QFileDialog(nullptr, QStringLiteral("Save list as"), QDir(folder).filePath(name),
                              QStringLiteral("CSV files (*.csv);;All files (*)"));
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    dialog_->setAcceptMode(QFileDialog::AcceptSave);
    dialog_->setFileMode(QFileDialog::AnyFile);
    dialog_->setDefaultSuffix(QStringLiteral("csv"));
    if (window_.windowHandle()) {
        dialog_->winId();
        dialog_->windowHandle()->setTransientParent(window_.windowHandle());
    }
    connect(dialog_, &QFileDialog::fileSelected, this, [this, bytes](const QString& path) {
        if (const std::optional<std::string> failure = SaveListFile(path, bytes))
            services_.messages.show("The list could not be saved as " + QDir::toNativeSeparators(path).toStdString()
                                    + ":\n" + *failure);
    });
    dialog_->open();
}

void ListExport::openLogFolder()
{
    const QString folder = QFileInfo(CommissioningLog::DefaultPath()).absolutePath();
    if (!QDir().mkpath(folder)) {
        services_.messages.show("The folder " + QDir::toNativeSeparators(folder).toStdString() + " cannot be made.");
        return;
    }
    services_.urls.open(QUrl::fromLocalFile(folder).toString().toStdString());
}
