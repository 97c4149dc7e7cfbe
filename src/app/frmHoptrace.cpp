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
#include "wifi/WifiState.h"
#include "wifi/WifiWidgets.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
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
    selection_ = std::make_unique<ServerSelection>(c_, state_, *servers_, *search_);
    hints_ = std::make_unique<SelectionHints>(c_, state_, nics_, *servers_);
    discovery_ = std::make_unique<Discovery>(c_, state_, nics_, services_, *search_, *servers_);
    refresh_ = std::make_unique<AdapterRefresh>(*c_.TabNIC, nics_, services_, [this] { adapterView_->TabNIC_Click(); });
    commands_ = std::make_unique<ManagementCommands>(c_, state_, services_, *search_, *servers_);
    ipSetup_ = std::make_unique<IpSetupPanel>(c_, state_, nics_, services_, *servers_);

    connect(c_.picRefresh, &PictureButton::clicked, this, &frmHoptrace::picRefresh_Click);
    connect(discovery_.get(), &Discovery::busyStarted, this, &frmHoptrace::enterBusy);
    connect(discovery_.get(), &Discovery::busyEnded, this, &frmHoptrace::leaveBusy);
    connect(discovery_.get(), &Discovery::loneServerFound, selection_.get(), &ServerSelection::selectLoneServer);
    connect(discovery_.get(), &Discovery::listed, hints_.get(), &SelectionHints::listed);
    connect(discovery_.get(), &Discovery::listed, ipSetup_.get(), &IpSetupPanel::serverListed);
    connect(selection_.get(), &ServerSelection::selectionRead, hints_.get(), &SelectionHints::update);
    connect(commands_.get(), &ManagementCommands::commandStarted, selection_.get(), &ServerSelection::commandStarted);
    connect(commands_.get(), &ManagementCommands::commandEnded, selection_.get(), &ServerSelection::commandEnded);
    connect(commands_.get(), &ManagementCommands::refreshRequested, this, &frmHoptrace::picRefresh_Click);
    connect(ipSetup_.get(), &IpSetupPanel::commandStarted, selection_.get(), &ServerSelection::commandStarted);
    connect(ipSetup_.get(), &IpSetupPanel::commandEnded, selection_.get(), &ServerSelection::commandEnded);
    connect(ipSetup_.get(), &IpSetupPanel::refreshRequested, this, &frmHoptrace::picRefresh_Click);
    // F5 is the refresh symbol's key; it acts only while the symbol itself could be clicked.
    auto* searchAgain = new QShortcut(QKeySequence(Qt::Key_F5), c_.picRefresh);
    searchAgain->setContext(Qt::WindowShortcut);
    connect(searchAgain, &QShortcut::activated, c_.picRefresh, &QAbstractButton::click);
}

void frmHoptrace::wireEntry()
{
    // Attached before anything writes the boxes, so program writes pass the same rules as typing.
    octetRules_ = std::make_unique<OctetBoxRules>(c_.txtIPadres, state_.pendingSelectBox);
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
    adapterView_ = std::make_unique<AdapterView>(AdapterViewWidgets{c_.TabNIC, c_.labNICName, c_.txtIP, c_.txtSubnet,
                                                                    c_.txtGateway, c_.fraVoorstel, c_.txtVoorstel,
                                                                    c_.txtIPtoPing, c_.labProgress},
                                                 nics_);
    pingTest_ = std::make_unique<PingTest>(PingTestWidgets{c_.txtIPtoPing, c_.cmdPing}, services_);
}

void frmHoptrace::wireWifi()
{
    const WifiWidgets wifi{c_.lstSSID,        c_.lstSignal,   c_.labProgress, c_.labStatus,
                           c_.cmdWiFiConnect, c_.chkOldMurel, c_.fraVoorstel, c_.txtSSID,
                           c_.txtKey,         c_.txtVoorstel, c_.txtMurelPort};
    const WifiState shared{state_.useCurrentSetupAp, state_.useOldSetupAp, state_.hWlanClient};
    wifiScan_ = std::make_unique<WifiScan>(wifi, shared, services_);
    connection_ = std::make_unique<ConnectionSequence>(wifi, shared, services_, *this, services_.provisioning,
                                                       pingTest_->pinger());
    connect(c_.picRescan, &PictureButton::clicked, this, [this] { wifiScan_->Scan(); });
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
    state_.useCurrentSetupAp = true;
    c_.fraVoorstel->setEnabled(true);
}

void frmHoptrace::picRefresh_Click()
{
    show();
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

void frmHoptrace::queryUnload() { services_.wlan.unregisterNotifications(state_.hWlanClient); }

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
