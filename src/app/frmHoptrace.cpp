#include "frmHoptrace.h"

#include "controls/BusyAnimation.h"
#include "controls/CaptionFit.h"
#include "controls/ControlTable.h"
#include "KeyboardFlow.h"
#include "controls/PictureButton.h"

#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"
#include "netview/AdapterRefresh.h"
#include "netview/AdapterView.h"
#include "netview/PingTest.h"
#include "platform/EventWaiter.h"
#include "platform/Services.h"
#include "platform/Timer.h"
#include "platform/UdpSocket.h"
#include "platform/Wlan.h"
#include "webserver/Datagrams.h"
#include "webserver/Discovery.h"
#include "webserver/IpSetupPanel.h"
#include "webserver/Search.h"
#include "webserver/ManagementCommands.h"
#include "webserver/SelectionHints.h"
#include "webserver/ServerList.h"
#include "webserver/ServerSelection.h"
#include "wifi/ConnectionSequence.h"
#include "wifi/WifiScan.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
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
    search_ = std::make_unique<Search>(services_.clock, services_.timer1);
    servers_ = std::make_unique<ServerList>(*c_.txtServers);
    wireEntry();
    wireNetview();
    wireWebserver();
    wireWifi();
    keyboard_ = new KeyboardFlow(*this, c_);
    designedListHeight_ = c_.txtServers->height();
    fitClientArea(DesignedClientWidthTwips);
}

frmHoptrace::~frmHoptrace()
{
    // Nothing may call back into a half-destroyed window (the search stops its ticks itself).
    services_.socket.setArrivalHandler({});
}

void frmHoptrace::wireWebserver()
{
    selection_ = std::make_unique<ServerSelection>(SelectionWidgets{c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP,
                                                                    c_.labStatus, c_.optAutoIP, c_.txtIPadres,
                                                                    c_.txtPort},
                                                   state_, *servers_);
    discovery_ = std::make_unique<Discovery>(
        DiscoveryWidgets{this, c_.labStatus, c_.TabNIC, c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP, c_.fraMurel,
                         c_.cmdWiFiConnect, c_.picRefresh},
        state_, nics_, services_, *search_, *servers_, *this, [this](std::size_t& position) {
            // A lone device is selected without a click; the list marks it all the same.
            const std::size_t block = servers_->text().find("Host Name");
            selection_->ParseServerBlock(position);
            servers_->markBlock(block == std::string::npos ? 0 : block + 1);
        });
    commands_ = std::make_unique<ManagementCommands>(
        CommandWidgets{c_.picRefresh, c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP, c_.labStatus}, state_, services_,
        *search_, *servers_);

    ipSetup_ = std::make_unique<IpSetupPanel>(
        IpSetupWidgets{c_.cmdSetIP, c_.cmdReboot, c_.picRefresh, c_.txtServers, c_.fraSetIP, c_.cmdIPOK, c_.cmdIPCancel,
                       c_.optAutoIP, c_.fraIP, c_.txtPort, c_.txtIPadres, c_.labStatus, c_.TabNIC},
        state_, nics_, services_, *search_, *servers_);

    hints_ = std::make_unique<SelectionHints>(std::array{c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP}, state_, nics_,
                                              *servers_, *c_.TabNIC);
    discovery_->setListedHandler([this](const Datagram& reply) { hints_->listed(reply); });
    // A selection is made or dropped where Reboot's enabled state changes; inside a busy
    // window that change is not announced, so the end of the busy state looks again.
    c_.cmdReboot->installEventFilter(this);

    connect(search_.get(), &Search::ticked, this, [this] { discovery_->DiscoveryTick(); });
    services_.socket.setArrivalHandler([this] { discovery_->ReplyIntake(); });
    connect(c_.picRefresh, &PictureButton::clicked, this, &frmHoptrace::picRefresh_Click);
    // Each command ends with a new search.
    connect(commands_.get(), &ManagementCommands::refreshRequested, this, &frmHoptrace::picRefresh_Click);
    connect(ipSetup_.get(), &IpSetupPanel::refreshRequested, this, &frmHoptrace::picRefresh_Click);
    c_.txtServers->viewport()->installEventFilter(this);
    c_.txtServers->installEventFilter(this);
    // F5 is the refresh symbol's key; it acts only while the symbol itself could be clicked.
    auto* searchAgain = new QShortcut(QKeySequence(Qt::Key_F5), c_.picRefresh);
    searchAgain->setContext(Qt::WindowShortcut);
    connect(searchAgain, &QShortcut::activated, c_.picRefresh, &QAbstractButton::click);
}

void frmHoptrace::wireEntry()
{
    // Attached before anything writes the boxes, so program writes pass the same rules as typing.
    octetRules_ = std::make_unique<OctetBoxRules>(c_.txtIPadres);
    portRules_ = std::make_unique<PortBoxRules>(*c_.txtPort);
    // The panel's tab order: options, port, the octet boxes row by row, OK, Cancel.
    setTabOrder(c_.optAutoIP[0], c_.optAutoIP[1]);
    setTabOrder(c_.optAutoIP[1], c_.txtPort);
    setTabOrder(c_.txtPort, c_.txtIPadres[0]);
    OctetBoxRules::chainTabOrder(c_.txtIPadres);
    setTabOrder(c_.txtIPadres[15], c_.cmdIPOK);
    setTabOrder(c_.cmdIPOK, c_.cmdIPCancel);
}

void frmHoptrace::wireNetview()
{
    refresh_ = std::make_unique<AdapterRefresh>(c_, nics_, services_);
    adapterView_ = std::make_unique<AdapterView>(c_, nics_);
    pingTest_ = std::make_unique<PingTest>(c_, services_);
    // Each adapter the refresh stores is shown at once, as a click on its tab would show it.
    connect(refresh_.get(), &AdapterRefresh::adapterStored, adapterView_.get(), &AdapterView::TabNIC_Click);
}

void frmHoptrace::wireWifi()
{
    wifiScan_ = std::make_unique<WifiScan>(c_, services_);
    connection_ = std::make_unique<ConnectionSequence>(c_, services_, *wifiScan_);
    connect(connection_.get(), &ConnectionSequence::busyStarted, this, &frmHoptrace::enterBusy);
    connect(connection_.get(), &ConnectionSequence::busyEnded, this, &frmHoptrace::leaveBusy);
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
    wifiScan_->chooseCurrentSetupAp();
    c_.fraVoorstel->setEnabled(true);
}

void frmHoptrace::picRefresh_Click()
{
    discovery_->beginRefresh();
    discovery_->searchAdapters(refresh_->readAdapters());
}

void frmHoptrace::enterBusy()
{
    setEnabled(false);
    c_.Animation1->show();
    c_.Animation1->play();
}

void frmHoptrace::leaveBusy()
{
    c_.Animation1->stop();
    c_.Animation1->hide();
    setEnabled(true);
    // After the controls that the end of the busy state enables again.
    QTimer::singleShot(0, keyboard_, &KeyboardFlow::returnFocus);
    hints_->update();
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

bool frmHoptrace::eventFilter(QObject* watched, QEvent* event)
{
    // While a command or a search runs, the list can be scrolled and read, but neither a
    // click nor Enter selects: it would enable a second command inside the running one.
    const bool idle = !state_.commandRunning && !search_->ticking();
    const bool serverListClick = watched == c_.txtServers->viewport() && event->type() == QEvent::MouseButtonRelease
        && c_.txtServers->isEnabled() && idle;
    if (serverListClick) {
        selection_->SelectServerAtCaret();
        // Several blocks may be read in turn while Reboot stays enabled.
        hints_->update();
    }
    // Enter in the list selects the block under the caret, as a click there does.
    if (watched == c_.txtServers && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (idle) {
                selection_->SelectServerAtCaret();
                hints_->update();
            }
            return true;
        }
    }
    if (watched == c_.cmdReboot && event->type() == QEvent::EnabledChange)
        hints_->update();
    return QWidget::eventFilter(watched, event);
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
    state_.closing = true;
    // No tick may touch the socket once it is closed.
    search_->finish();
    // A gateway sequence or scan waiting further down the stack ends now, not after its
    // remaining steps: the process can then exit at once.
    connection_->cancel();
    wifiScan_->cancel();
    // A command waiting in its loop sees `closing` here and ends without its refresh.
    services_.waiter.yieldOnce();
    services_.socket.close();
}
