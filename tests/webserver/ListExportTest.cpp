#include "TestMain.h"

#include "PrivateNetwork.h"
#include "fakes/WindowRig.h"

#include "devices/CommissioningLog.h"
#include "devices/DeviceListing.h"
#include "devices/DeviceReply.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace WindowInput;

namespace {

struct Heard {
    std::string reply, sender;
};

// A device on the adapter's network whose name a spreadsheet would run as a formula (0x93 is a
// quotation mark in the PC's code page), and one answering from a searched address behind a router.
const std::vector<Heard> kHeard{
    {TavikReply({.host = "=Hall\x93"}), "192.168.1.20"},
    {TavikReply({.host = "WS-ROUTED", .mac = "00:08:DC:00:00:07", .address = "10.77.0.20:80"}), "10.77.0.20"}};

// The window after a search that heard `heard` on its one adapter, with 10.77.0.20 among the
// searched addresses.
void ListHeard(WindowRig& rig, const std::vector<Heard>& heard)
{
    QSettings().setValue("search/addresses", "10.77.0.20");
    rig.load();
    const int adapter = rig.fakes.adapters.list.front().interfaceIndex;
    for (const Heard& device : heard)
        rig.fakes.socket.deliver(device.reply, 0.5, device.sender, adapter);
    rig.finishSearch();
    QSettings().remove("search/addresses");
}

// The command line's listing of the same devices, heard the same way.
std::string CliListing(const WindowRig& rig, const std::vector<Heard>& heard, ListingFormat format)
{
    std::vector<FoundDevice> found;
    for (const Heard& device : heard)
        found.push_back(
            {*ReadDeviceReply(device.reply), rig.fakes.adapters.list.front().interfaceIndex, 0, 0, device.sender});
    const AdapterTable& nics = rig.window->adapterTable();
    return FormatListing(ListDevices(found, nics.first(nics.count()), {0x0A4D0014}), format);
}

// "Save list as..." through the menu, its file name box typed over with `path`, then Enter, and
// Yes to replacing an existing file; the name the dialog offered.
QString SaveThroughDialog(WindowRig& rig, const QString& path)
{
    if (ChooseFromMenu(*rig.c().txtServers->viewport(), "Save list as...") != true)
        return "no enabled menu item";
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog)
        return "no file dialog";
    const QString offered = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
    Retype(*dialog, *dialog->findChild<QLineEdit*>("fileNameEdit"), path);
    auto* answer = new QTimer(dialog); // the question waits in a loop of its own, inside the Enter
    QObject::connect(answer, &QTimer::timeout, answer, [answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer->stop();
            Click(*box->button(QMessageBox::Yes));
        }
    });
    answer->start(10);
    Key(*dialog, Qt::Key_Return);
    return dialog == QApplication::activeModalWidget() ? "the dialog stayed open" : offered;
}

} // namespace

class ListExportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The file dialog is driven through its widgets, whatever the desktop would offer.
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    // Copy list puts the command line's copied form on the clipboard, and Save list as... offers
    // today's name and writes the saved form; with nothing listed neither item is offered.
    void copyAndSaveList_data()
    {
        const auto row = Columns<bool>("listed");
        row("two devices, one behind a router", true);
        row("nothing listed", false);
    }
    void copyAndSaveList()
    {
        auto [listed] = Fetch<bool>("listed");
        const std::vector<Heard> heard = listed ? kHeard : std::vector<Heard>{};
        WindowRig rig;
        ListHeard(rig, heard);
        QGuiApplication::clipboard()->setText("before");
        QVERIFY(ChooseFromMenu(*rig.c().txtServers->viewport(), "Copy list") == listed);
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, listed ? QString::fromStdString(CliListing(rig, heard, ListingFormat::Tsv)) : "before");
        if (listed)
            QVERIFY2(copied.split('\n')[2].contains("\tno\tyes\tno\t"), "not flagged reached-by-address");
        QTemporaryDir dir;
        const QString path = dir.filePath("fleet.csv");
        const QString today = QDate::currentDate().toString("'hoptrace-devices-'yyyy-MM-dd'.csv'");
        QCOMPARE(SaveThroughDialog(rig, path), listed ? today : "no enabled menu item");
        QVERIFY2(!QApplication::activeModalWidget(), "a dialog stayed open");
        QCOMPARE(ReadFile(path).value_or("(missing)"),
                 listed ? QByteArray::fromStdString(CliListing(rig, kHeard, ListingFormat::CsvFile))
                        : QByteArray("(missing)"));
        QCOMPARE(rig.fakes.messages.shown.size(), 0u);
    }

    // The folder is made when missing and handed to the desktop as a file URL.
    void openLogFolder()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const QString folder = QFileInfo(CommissioningLog::DefaultPath()).absolutePath();
        const bool wasThere = QFileInfo::exists(folder);
        WindowRig rig;
        rig.listReplies({});
        const auto chosen = ChooseFromMenu(*rig.c().txtServers->viewport(), "Open commissioning log folder");
        qputenv("HOME", oldHome);
        QVERIFY2(folder.startsWith(home.path()), qPrintable(folder));
        QVERIFY2(!wasThere, qPrintable(folder));
        QVERIFY(chosen == true);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(rig.fakes.urls.opened, std::vector<std::string>{QUrl::fromLocalFile(folder).toString().toStdString()});
    }

    // A save that fails for real (also for root) is the subject of the class below.
    void aFailedSaveInAPrivateMountNamespace() { PrivateNetwork::runTestClass("ListSaveFailureTest"); }
};

// Runs only inside a private namespace, where it may mount: a save onto a full or read-only
// file system names the reason and leaves the older file as it was, with nothing beside it.
class ListSaveFailureTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void aFailedSaveKeepsTheOldFile_data()
    {
        const auto row = Columns<bool, QString>("readOnly", "reason");
        row("a full disk", false, "No space left on device");
        row("a read-only file system", true, "is not writable");
    }
    void aFailedSaveKeepsTheOldFile()
    {
        auto [readOnly, reason] = Fetch<bool, QString>("readOnly", "reason");
        QTemporaryDir mountPoint;
        const QByteArray at = QFile::encodeName(mountPoint.path());
        QVERIFY2(mount("tmpfs", at, "tmpfs", 0, "size=64k") == 0, strerror(errno));
        const auto unmount = qScopeGuard([&] { umount2(at, MNT_DETACH); });
        const QString old = mountPoint.filePath("fleet.csv");
        QVERIFY(WriteFile(old, "an older list\r\n"));
        if (readOnly) {
            QVERIFY(mount(nullptr, at, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0);
        } else {
            const int filler = open(QFile::encodeName(mountPoint.filePath("filler")), O_WRONLY | O_CREAT, 0600);
            const std::string block(4096, 'x');
            while (write(filler, block.data(), block.size()) > 0) { }
            close(filler);
        }
        WindowRig rig;
        ListHeard(rig, kHeard);
        QVERIFY(SaveThroughDialog(rig, old).endsWith(".csv"));
        QCOMPARE(rig.fakes.messages.shown.size(), 1u);
        const QString message = QString::fromStdString(rig.fakes.messages.shown[0]);
        QVERIFY2(message.contains(old) && message.contains(reason), qPrintable(message));
        QCOMPARE(ReadFile(old).value_or("(missing)"), "an older list\r\n");
        QStringList left = QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden);
        left.removeAll("filler");
        QCOMPARE(left, QStringList{"fleet.csv"});
    }
};

HOPTRACE_TEST(ListExportTest)
HOPTRACE_TEST_WHEN(ListSaveFailureTest, PrivateNetwork::inside)
#include "ListExportTest.moc"
