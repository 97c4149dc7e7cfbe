#include "frmHoptrace.h"

#include "KeyboardFlow.h"
#include "StatusLine.h"
#include "SharedControls.h"

#include "controls/BusyAnimation.h"
#include "controls/CaptionFit.h"
#include "controls/ControlTable.h"
#include "controls/PictureButton.h"
#include "controls/ProgressLine.h"

#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"
#include "netview/AdapterRefresh.h"
#include "netview/AdapterView.h"
#include "netview/PingTest.h"
#include "platform/DottedQuad.h"
#include "platform/Services.h"
#include "platform/UdpSocket.h"
#include "devices/Datagrams.h"
#include "webserver/Discovery.h"
#include "devices/CommandChannel.h"
#include "devices/CommandListing.h"
#include "devices/CommissioningRecorder.h"
#include "devices/DeviceCommandRun.h"
#include "webserver/IpSetupPanel.h"
#include "webserver/ListExport.h"
#include "devices/DeviceSearch.h"
#include "devices/SearchAddresses.h"
#include "webserver/ManagementCommands.h"
#include "webserver/SearchAddressesDialog.h"
#include "webserver/ServerListMenu.h"
#include "webserver/SelectionHints.h"
#include "webserver/ServerList.h"
#include "webserver/ServerSelection.h"
#include "webserver/WebserverSession.h"
#include "wifi/ConnectionSequence.h"
#include "wifi/SetupApChoice.h"
#include "wifi/WifiScan.h"

#include <QCloseEvent>
#include <QSettings>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace {
QString WindowTitle()
{
    return QStringLiteral("Tavik Hoptrace V%1.%2").arg(HOPTRACE_VERSION_MAJOR).arg(HOPTRACE_VERSION_MINOR);
}
} // namespace

frmHoptrace::frmHoptrace(Services& services, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      services_(services)
{
    setObjectName(QStringLiteral("frmHoptrace"));
    setWindowTitle(QStringLiteral("Tavik Hoptrace"));
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(TwipsToPixels(DesignedClientWidthTwips), TwipsToPixels(ClientHeightTwips));

    c_ = BuildControls(this);
    FitCaptions(this);
    createSubsystems();
    connectSubsystems();
    connectListMenu();
    keyboard_ = new KeyboardFlow(*this, c_);
    designedListHeight_ = c_.txtServers->height();
    fitClientArea(DesignedClientWidthTwips);
}

// The controllers end their own connections to the services (the search its ticks, the
// discovery the socket's arrival handler).
frmHoptrace::~frmHoptrace() = default;

void frmHoptrace::createSubsystems()
{
    // Each subsystem writes its own controls only; the window hands out the rest by reference.
    const auto webserver = WebserverControls::of(c_);
    const auto netview = NetviewControls::of(c_);
    const auto wifi = WifiControls::of(c_);
    // The box rules come first, so that program writes to the boxes pass them as typing does.
    octetRules_ = std::make_unique<OctetBoxRules>(c_.txtIPadres);
    portRules_ = std::make_unique<PortBoxRules>(*c_.txtPort);
    settings_ = std::make_unique<QSettings>();
    searchAddresses_ = std::make_unique<SearchAddresses>(*settings_);
    search_ = std::make_unique<DeviceSearch>(services_.clock, services_.timers, services_.socket, nics_);
    commandChannel_ = std::make_unique<CommandChannel>();
    commandRun_ = std::make_unique<DeviceCommandRun>(services_.clock, services_.timers, services_.socket, nics_,
                                                     *commandChannel_);
    recorder_ = std::make_unique<CommissioningRecorder>(*commandChannel_, nics_, "hoptrace", &services_.background);
    servers_ = std::make_unique<ServerList>(*c_.txtServers, search_->listing());
    commandListing_ = std::make_unique<CommandListing>(*commandRun_, *search_);
    listMenu_ = std::make_unique<ServerListMenu>(*c_.txtServers);
    refresh_ = std::make_unique<AdapterRefresh>(netview, nics_, services_);
    progress_ = std::make_unique<ProgressLine>(*c_.labProgress);
    adapterView_ = std::make_unique<AdapterView>(netview, nics_, *progress_);
    pingTest_ = std::make_unique<PingTest>(netview, services_);
    session_ = std::make_unique<WebserverSession>(*commandRun_, services_.messages);
    selection_ = std::make_unique<ServerSelection>(webserver, *servers_, *search_, *session_);
    hints_ = std::make_unique<SelectionHints>(webserver, nics_, *servers_);
    discovery_ = std::make_unique<Discovery>(services_, *search_, *servers_, *searchAddresses_);
    commands_ = std::make_unique<ManagementCommands>(webserver, *session_, *search_);
    ipSetup_ = std::make_unique<IpSetupPanel>(webserver, services_, *session_, *servers_, *commandRun_);
    setupAp_ = std::make_unique<SetupApChoice>(wifi);
    wifiScan_ = std::make_unique<WifiScan>(wifi, services_, *setupAp_, *progress_);
    connection_ = std::make_unique<ConnectionSequence>(wifi, services_, *setupAp_, *progress_);
}

void frmHoptrace::connectListMenu()
{
    discovery_->describeAddresses();
    new ListExport(*listMenu_, *search_, nics_, services_, *this); // the menu owns it
    connect(listMenu_.get(), &ServerListMenu::searchAddressesRequested, this, [this] {
        auto* dialog = new SearchAddressesDialog(*searchAddresses_, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // New addresses are searched at once where the refresh symbol could start a search,
        // and by the next search otherwise.
        connect(dialog, &SearchAddressesDialog::stored, this, [this] {
            discovery_->describeAddresses();
            c_.picRefresh->click();
        });
        dialog->open();
    });
}

// How the subsystems meet. Each controller connects its own controls; these are the
// connections between them, all in one place. The controls that several of them concern
// (the buttons acting on the selection, the refresh symbol, the list, the gateway's frame
// and button, the status line, the busy state) follow the facts' owners: each reports
// changed(), and applyState() reads them all.
void frmHoptrace::connectSubsystems()
{
    // A search starts from the refresh symbol (or F5, while the symbol could be clicked)
    // and after every command; a device reached by address that was given a new address is
    // searched there too.
    connect(c_.picRefresh, &PictureButton::clicked, this, &frmHoptrace::picRefresh_Click);
    auto* searchAgain = new QShortcut(QKeySequence(Qt::Key_F5), c_.picRefresh);
    searchAgain->setContext(Qt::WindowShortcut);
    connect(searchAgain, &QShortcut::activated, c_.picRefresh, &QAbstractButton::click);
    connect(session_.get(), &WebserverSession::commandEnded, this, [this] {
        const CommandRequest& sent = commandRun_->request();
        if (const auto moved = ParseDottedQuad(sent.expected.address); moved && !sent.alsoUnicastTo.empty())
            searchAddresses_->searchOnceMore(*moved);
        picRefresh_Click();
    });

    // Each adapter the refresh stores is shown at once, as a click on its tab would show it.
    connect(refresh_.get(), &AdapterRefresh::adapterStored, adapterView_.get(), &AdapterView::TabNIC_Click);

    // What the search lists: a refresh and a listing withdraw the selection's offers, a lone
    // device is selected, and a search's end offers the gateway whatever the Wi-Fi boxes hold.
    // A command hears every reply read, listed or not, for its device's answer, and the search
    // after it tells its outcome.
    connect(discovery_.get(), &Discovery::refreshBegun, session_.get(), &WebserverSession::searchBegun);
    connect(search_.get(), &DeviceSearch::serversListed, session_.get(), &WebserverSession::listed);
    connect(discovery_.get(), &Discovery::loneServerFound, selection_.get(), &ServerSelection::selectLoneServer);
    connect(discovery_.get(), &Discovery::searchEnded, setupAp_.get(), &SetupApChoice::forgetReadiness);
    connect(commandListing_.get(), &CommandListing::changed, this, [this] { servers_->showPending(); });
    connect(search_.get(), &DeviceSearch::replyRead, commandRun_.get(), &DeviceCommandRun::replyRead);
    connect(search_.get(), &DeviceSearch::finished, commandRun_.get(),
            [this] { commandRun_->conclude(ListedReplyOf(search_->listing(), commandRun_->request().mac)); });
    // A click's reading ends with the hints described afresh, as the list now marks the block.
    connect(selection_.get(), &ServerSelection::selectionRead, this, [this] {
        hint_ = hints_->describe(hinted_);
        scheduleApply();
    });
    // A log that cannot be written never stops the command; the user is told why.
    connect(recorder_.get(), &CommissioningRecorder::writeFailed, session_.get(), [this](const QString& reason) {
        session_->showCommandStatus(QStringLiteral("The commissioning log could not be written: ") + reason);
    });

    connect(discovery_.get(), &Discovery::changed, this, &frmHoptrace::scheduleApply);
    connect(session_.get(), &WebserverSession::changed, this, &frmHoptrace::scheduleApply);
    connect(setupAp_.get(), &SetupApChoice::changed, this, &frmHoptrace::scheduleApply);
    connect(connection_.get(), &ConnectionSequence::changed, this, &frmHoptrace::scheduleApply);
    connect(adapterView_.get(), &AdapterView::changed, this, &frmHoptrace::scheduleApply);
    connect(wifiScan_.get(), &WifiScan::changed, this, &frmHoptrace::scheduleApply);
}

void frmHoptrace::scheduleApply()
{
    if (applyScheduled_)
        return;
    applyScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (applyScheduled_)
                applyState();
        },
        Qt::QueuedConnection);
}

WindowFacts frmHoptrace::facts() const
{
    return {.searching = discovery_->searching(),
            .searchedOnce = discovery_->searchedOnce(),
            .session = *session_,
            .connectReady = setupAp_->connectReady(),
            .gatewayCaption = setupAp_->gatewayCaption(),
            .gatewayRunning = connection_->running(),
            .suggestionFor = adapterView_->suggestionFor(),
            .suggestionsOffered = wifiScan_->suggestionsOffered(),
            .status = StatusLine::Of({&discovery_->status(), &session_->commandStatus(), &connection_->status(),
                                      &session_->selectionStatus()})};
}

void frmHoptrace::applyState()
{
    applyScheduled_ = false;
    const WindowFacts now = facts();
    const auto shared = WindowControls::of(c_);
    SharedControls::apply(now, shared);
    std::optional<DeviceSelection> offered;
    if (SharedControls::rebootUsable(now))
        offered = session_->selection();
    if (offered != hinted_) {
        hinted_ = offered;
        hint_ = hints_->describe(offered);
    }
    SharedControls::showHint(hint_, shared);
    showBusy(now.searching || now.gatewayRunning);
}

void frmHoptrace::load()
{
    setWindowTitle(WindowTitle());
    services_.socket.close();
    services_.socket.bind(TavikDatagram::Port);
    // The window is created (by the refresh's show) with its final size already: changing
    // a fixed size after that is a size hint, which some window systems (the offscreen one
    // among them) cannot take. Setting the same size again afterwards changes nothing.
    fitClientArea(ClientWidthTwips);
    picRefresh_Click();
    // The outer width leaves the client area ending where the Wi-Fi panel begins.
    fitClientArea(ClientWidthTwips);
    setupAp_->chooseCurrent();
    wifiScan_->offerSuggestions();
    // The window leaves its start-up in the state its first search gives it.
    applyState();
}

void frmHoptrace::picRefresh_Click()
{
    show();
    discovery_->beginRefresh();
    discovery_->searchAdapters(refresh_->readAdapters());
}

void frmHoptrace::showBusy(bool busy)
{
    if (busy == shownBusy_)
        return;
    shownBusy_ = busy;
    if (busy) {
        setEnabled(false);
        c_.Animation1->show();
        c_.Animation1->play();
        return;
    }
    c_.Animation1->stop();
    c_.Animation1->hide();
    setEnabled(true);
    // After the controls that the end of the busy state enables again.
    QTimer::singleShot(0, keyboard_, &KeyboardFlow::returnFocus);
}

bool frmHoptrace::operationRunning() const
{
    return session_->command() || pingTest_->running() || wifiScan_->running() || connection_->running();
}

void frmHoptrace::fitClientArea(int widthTwips)
{
    clientWidthTwips_ = widthTwips;
    int height = TwipsToPixels(ClientHeightTwips);
    if (const QScreen* shownOn = screen()) {
        // The frame is known once the window system has framed the window; 0 before.
        const int frame = frameGeometry().height() - geometry().height();
        height = std::min(height, shownOn->availableGeometry().height() - frame);
    }
    setFixedSize(TwipsToPixels(widthTwips), height);
    const int listBottomMargin = TwipsToPixels(ClientHeightTwips) - c_.txtServers->y() - designedListHeight_;
    c_.txtServers->resize(c_.txtServers->width(),
                          std::min(designedListHeight_, height - c_.txtServers->y() - listBottomMargin));
    keyboard_->limitFocusTo(rect());
}

void frmHoptrace::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fitClientArea(clientWidthTwips_);
}

void frmHoptrace::moveEvent(QMoveEvent* event)
{
    // A window manager frames the window after it is shown; its title bar takes room too.
    QWidget::moveEvent(event);
    fitClientArea(clientWidthTwips_);
}

void frmHoptrace::closeEvent(QCloseEvent* event)
{
    queryUnload();
    unload();
    event->accept();
}

void frmHoptrace::queryUnload() { wifiScan_->endNotifications(); }

void frmHoptrace::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    // Every running operation ends here, each with its own ending: no refresh after a
    // command, no box after a ping, and the gateway sequence's switch-on and clean-up.
    search_->finish(); // no tick may touch the socket once it is closed
    session_->cancelCommand();
    commandRun_->cancel(); // also a command whose search had not told its outcome yet
    pingTest_->cancel();
    wifiScan_->cancel();
    connection_->cancel();
    services_.socket.close();
    // The gateway sequence may still owe the WLAN its switch-on; the program ends after it.
    if (connection_->running()) {
        auto cleanedUp = std::make_shared<QMetaObject::Connection>();
        *cleanedUp = connect(connection_.get(), &ConnectionSequence::changed, this, [this, cleanedUp] {
            if (connection_->running())
                return;
            disconnect(*cleanedUp);
            Q_EMIT closingDone();
        });
    } else {
        QTimer::singleShot(0, this, &frmHoptrace::closingDone);
    }
}
