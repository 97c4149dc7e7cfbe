#include "frmHoptrace.h"

#include "BusyAnimation.h"
#include "CaptionFit.h"
#include "ControlTable.h"
#include "PictureButton.h"

#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"
#include "netview/AdapterRefresh.h"
#include "netview/AdapterView.h"
#include "netview/PingTest.h"
#include "platform/EventWaiter.h"
#include "platform/PlatformFactory.h"
#include "platform/Services.h"
#include "platform/Timer.h"
#include "platform/UdpSocket.h"
#include "platform/Wlan.h"
#include "webserver/Datagrams.h"
#include "webserver/Discovery.h"
#include "webserver/IpSetupPanel.h"
#include "webserver/ManagementCommands.h"
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
#include <QTabBar>

namespace {
QString WindowTitle()
{
    return QStringLiteral("Tavik Hoptrace V%1.%2").arg(HOPTRACE_VERSION_MAJOR).arg(HOPTRACE_VERSION_MINOR);
}
} // namespace

frmHoptrace::frmHoptrace(Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
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
    servers_ = std::make_unique<ServerList>(*c_.txtServers);
    wireEntry();
    wireNetview();
    wireWebserver();
    wireWifi();
}

frmHoptrace::~frmHoptrace()
{
    // Nothing may call back into a half-destroyed window.
    services_.timer1.setTickHandler({});
    services_.socket.setArrivalHandler({});
}

void frmHoptrace::wireWebserver()
{
    selection_ = std::make_unique<ServerSelection>(
        SelectionWidgets{c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP, c_.labStatus, c_.optAutoIP, c_.txtIPadres,
                         c_.txtPort},
        state_, *servers_);
    discovery_ = std::make_unique<Discovery>(
        DiscoveryWidgets{c_.labStatus, c_.TabNIC, c_.cmdReboot, c_.cmdDefault, c_.fraMurel, c_.cmdWiFiConnect,
                         c_.picRefresh},
        state_, services_, *servers_, *this, [this](std::size_t& position) { selection_->ParseServerBlock(position); });
    refresh_ = std::make_unique<AdapterRefresh>(
        RefreshWidgets{this, c_.labStatus, c_.cmdWiFiConnect, c_.picRefresh, c_.cmdReboot, c_.cmdDefault,
                       c_.cmdSetIP, c_.TabNIC},
        state_, services_, *servers_, *this, [this] { adapterView_->TabNIC_Click(); });
    commands_ = std::make_unique<ManagementCommands>(
        CommandWidgets{c_.picRefresh, c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP, c_.labStatus}, state_, services_,
        *servers_, [this] { picRefresh_Click(); });

    ipSetup_ = std::make_unique<IpSetupPanel>(
        IpSetupWidgets{c_.cmdSetIP, c_.cmdReboot, c_.picRefresh, c_.txtServers, c_.fraSetIP, c_.cmdIPOK,
                       c_.cmdIPCancel, c_.optAutoIP, c_.fraIP, c_.txtPort, c_.txtIPadres, c_.labStatus, c_.TabNIC},
        state_, services_, *servers_, [this] { picRefresh_Click(); });

    services_.timer1.setTickHandler([this] { discovery_->DiscoveryTick(); });
    services_.socket.setArrivalHandler([this] { discovery_->ReplyIntake(); });
    connect(c_.picRefresh, &PictureButton::clicked, this, &frmHoptrace::picRefresh_Click);
    connect(c_.cmdReboot, &QPushButton::clicked, this, [this] { commands_->cmdReboot_Click(); });
    connect(c_.cmdDefault, &QPushButton::clicked, this, [this] { commands_->cmdDefault_Click(); });
    c_.txtServers->viewport()->installEventFilter(this);
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
    adapterView_ = std::make_unique<AdapterView>(
        AdapterViewWidgets{c_.TabNIC, c_.labNICName, c_.txtIP, c_.txtSubnet, c_.txtGateway, c_.fraVoorstel,
                           c_.txtVoorstel, c_.txtIPtoPing, c_.labProgress, c_.txtSSID, c_.txtMurelPort,
                           c_.cmdWiFiConnect},
        state_);
    pingTest_ = std::make_unique<PingTest>(PingTestWidgets{c_.txtIPtoPing, c_.cmdPing}, services_);
}

void frmHoptrace::wireWifi()
{
    const WifiWidgets wifi{c_.lstSSID,     c_.lstSignal,   c_.labProgress, c_.labStatus,
                           c_.cmdWiFiConnect, c_.chkOldMurel, c_.fraVoorstel, c_.txtSSID,
                           c_.txtKey,      c_.txtVoorstel, c_.txtMurelPort};
    const WifiState shared{state_.useCurrentSetupAp, state_.useOldSetupAp, state_.hWlanClient};
    wifiScan_ = std::make_unique<WifiScan>(wifi, shared, services_);
    connection_ = std::make_unique<ConnectionSequence>(wifi, shared, services_, *this, SystemProvisioningCommands(),
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
    setFixedSize(TwipsToPixels(ClientWidthTwips), TwipsToPixels(ClientHeightTwips));
    picRefresh_Click();
    // The outer width leaves the client area ending where the Wi-Fi panel begins.
    setFixedSize(TwipsToPixels(ClientWidthTwips), TwipsToPixels(ClientHeightTwips));
    state_.useCurrentSetupAp = true;
    c_.fraVoorstel->setEnabled(true);
}

void frmHoptrace::picRefresh_Click() { refresh_->picRefresh_Click(); }

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
}

bool frmHoptrace::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == c_.txtServers->viewport() && event->type() == QEvent::MouseButtonRelease && c_.txtServers->isEnabled())
        selection_->SelectServerAtCaret();
    return QWidget::eventFilter(watched, event);
}

void frmHoptrace::closeEvent(QCloseEvent* event)
{
    queryUnload();
    unload();
    event->accept();
}

void frmHoptrace::queryUnload()
{
    services_.wlan.unregisterNotifications(state_.hWlanClient);
}

void frmHoptrace::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    state_.closing = true;
    // No tick may touch the socket once it is closed.
    services_.timer1.setEnabled(false);
    // A command waiting in its loop sees `closing` here and ends without its refresh.
    services_.waiter.yieldOnce();
    services_.socket.close();
}
