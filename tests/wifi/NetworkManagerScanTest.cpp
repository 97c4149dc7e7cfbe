#include "TestMain.h"
#include "ScanCases.h"
#include "WifiTestPanel.h"

#include "fakes/FakeServices.h"
#include "platform/linux/NetworkManagerWlan.h"
#include "wifi/WifiScan.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGroupBox>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kAccessPointInterface = QStringLiteral("org.freedesktop.NetworkManager.AccessPoint");
const QString kUnableText = QStringLiteral("Unable to get WLAN Handle");
const QString kNoAdapterText = QStringLiteral("No Wireless Adapters Found");

// Only ever against the private bus of run-on-private-bus.sh: the system bus is then
// the test's own session bus, never the machine's.
bool OnPrivateBus()
{
    const QByteArray system = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    return qgetenv("HOPTRACE_PRIVATE_SYSTEM_BUS") == "1" && !system.isEmpty()
           && system == qgetenv("DBUS_SESSION_BUS_ADDRESS");
}

bool ServiceThere()
{
    QDBusConnectionInterface* bus = QDBusConnection::systemBus().interface();
    return bus && bus->isServiceRegistered(kService).value();
}

} // namespace

class NetworkManagerScanTest : public QObject {
    Q_OBJECT
private:
    QProcess mock_;
    int accessPoints_ = 0;

    // A fresh mock for every case: its Reset loses the manager's properties.
    void startMock()
    {
        stopMock();
        mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock_.start(QStringLiteral("/usr/bin/python3"), {"-m", "dbusmock", "--system", "-t", "networkmanager"});
        QVERIFY(QTest::qWaitFor(ServiceThere, 20000));
    }
    void stopMock()
    {
        if (mock_.state() == QProcess::NotRunning)
            return;
        mock_.terminate();
        mock_.waitForFinished(10000);
        QVERIFY(QTest::qWaitFor([] { return !ServiceThere(); }, 10000));
    }
    QVariant mockCall(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kMockInterface, method);
        call.setArguments(arguments);
        const QDBusMessage reply = QDBusConnection::systemBus().call(call);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << reply.errorMessage();
        return reply.arguments().value(0);
    }
    QString addWifiDevice(const QString& name) { return mockCall("AddWiFiDevice", {name, name, 30}).toString(); }
    void addAccessPoint(const QString& device, const QByteArray& ssid, int strength)
    {
        const QString name = QStringLiteral("ap%1").arg(++accessPoints_);
        const QString path = mockCall("AddAccessPoint", {device, name, QStringLiteral("placeholder"),
                                                         QStringLiteral("00:11:22:33:44:%1").arg(accessPoints_ % 100),
                                                         2u, 2437u, 54000u, QVariant::fromValue(uchar(strength)),
                                                         0x100u})
                                 .toString();
        // The mock takes text; the SSID is set afterwards as the raw bytes it is.
        mockCall("SetProperty", {path, kAccessPointInterface, QStringLiteral("Ssid"),
                                 QVariant::fromValue(QDBusVariant(ssid))});
    }

    struct Rig {
        Rig()
        {
            fake.wlanOverride = &wlan;
            scan = std::make_unique<WifiScan>(panel.widgets, panel.state, fake.services());
        }
        FakeServices fake;
        NetworkManagerWlan wlan;
        WifiTestPanel panel;
        std::unique_ptr<WifiScan> scan;
    };

private Q_SLOTS:
    void initTestCase()
    {
        if (!OnPrivateBus())
            QSKIP("runs only on the private bus of run-on-private-bus.sh");
    }
    void cleanupTestCase() { stopMock(); }

    void noService()
    {
        stopMock();
        Rig rig;
        rig.scan->Scan();
        QCOMPARE(rig.fake.messages.shown, std::vector<std::string>{kUnableText.toStdString()});
        QCOMPARE(rig.panel.hWlanClient, Wlan::Handle{0});
        QVERIFY(!rig.panel.widgets.fraVoorstel->isEnabled());
    }

    void noWifiDevice()
    {
        startMock();
        mockCall("AddEthernetDevice", {"eth0", "eth0", 100});
        Rig rig;
        rig.scan->Scan();
        QCOMPARE(rig.fake.messages.shown, std::vector<std::string>{kNoAdapterText.toStdString()});
        QVERIFY(rig.panel.hWlanClient != 0);
        QVERIFY(!rig.panel.widgets.fraVoorstel->isEnabled());
    }

    void networkList_data() { AddNetworkListRows(); }
    void networkList()
    {
        QFETCH(QList<QByteArray>, ssids);
        QFETCH(QList<int>, strengths);
        startMock();
        const QString device = addWifiDevice("wlan0");
        for (qsizetype i = 0; i < ssids.size(); ++i)
            addAccessPoint(device, ssids[i], strengths[i]);
        Rig rig;
        rig.panel.fillConnectFields();
        rig.panel.widgets.cmdWiFiConnect->setEnabled(false); // as the window starts
        rig.scan->Scan();
        VerifyNetworkListRow(rig.panel);
        QVERIFY(rig.fake.messages.shown.empty());
    }

    void readiness_data() { AddReadinessRows(); }
    void readiness()
    {
        QFETCH(bool, enabled);
        startMock();
        addAccessPoint(addWifiDevice("wlan0"), "TAVIK-MUREL", 90);
        Rig rig;
        FillReadinessFields(rig.panel);
        rig.scan->Scan();
        QCOMPARE(rig.panel.widgets.cmdWiFiConnect->isEnabled(), enabled);
    }

    void firstWifiDeviceOnly()
    {
        startMock();
        mockCall("AddEthernetDevice", {"eth0", "eth0", 100});
        const QString first = addWifiDevice("wlan0");
        const QString second = addWifiDevice("wlan1");
        addAccessPoint(second, "Second", 50);
        addAccessPoint(first, "First", 40);
        Rig rig;
        rig.scan->Scan();
        QCOMPARE(rig.panel.widgets.lstSSID->count(), 1);
        QCOMPARE(rig.panel.widgets.lstSSID->item(0)->text(), QStringLiteral("First"));
    }

    // The device's signals reach the callback from registration to its end only.
    void notificationsWhileRegistered()
    {
        startMock();
        const QString device = addWifiDevice("wlan0");
        NetworkManagerWlan wlan;
        const std::optional<Wlan::Handle> client = wlan.openClient();
        QVERIFY(client);
        int notifications = 0;
        wlan.registerNotifications(*client, [&] { ++notifications; });
        addAccessPoint(device, "Appears", 10);
        QTRY_VERIFY(notifications > 0);

        wlan.unregisterNotifications(*client);
        notifications = 0;
        addAccessPoint(device, "Unheard", 10);
        mockCall("ClearCalls", {}); // a round trip: a signal sent before it has arrived by now
        QCoreApplication::processEvents();
        QCOMPARE(notifications, 0);
        wlan.unregisterNotifications(0); // harmless
    }
};

HOPTRACE_TEST(NetworkManagerScanTest)
#include "NetworkManagerScanTest.moc"
