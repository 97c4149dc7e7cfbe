#include "TestMain.h"
#include "ScanTable.h"

#include "platform/linux/NetworkManagerWlan.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");

// True only on the bus that run-on-private-bus.sh made to stand in for the system bus.
bool OnPrivateSystemBus()
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

// The scan table against python-dbusmock's NetworkManager. Only ever on the private bus
// of run-on-private-bus.sh, whose system bus is the test's own, never the machine's.
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
        mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "-t", "networkmanager"});
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
        QDBusMessage call = QDBusMessage::createMethodCall(kService, "/org/freedesktop/NetworkManager",
                                                           "org.freedesktop.DBus.Mock", method);
        call.setArguments(arguments);
        const QDBusMessage reply = QDBusConnection::systemBus().call(call);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << reply.errorMessage();
        return reply.arguments().value(0);
    }
    QString addWifiDevice(const QString& name) { return mockCall("AddWiFiDevice", {name, name, 30}).toString(); }
    void addAccessPoint(const QString& device, const std::string& ssid, unsigned strength)
    {
        const QString path = mockCall("AddAccessPoint",
                                      {device, QStringLiteral("ap%1").arg(++accessPoints_), "placeholder",
                                       "00:11:22:33:44:55", 2u, 2437u, 54000u, QVariant::fromValue(uchar(strength)),
                                       0x100u})
                                 .toString();
        // The mock takes text; the SSID is set afterwards as the raw bytes it is.
        mockCall("SetProperty",
                 {path, "org.freedesktop.NetworkManager.AccessPoint", "Ssid",
                  QVariant::fromValue(QDBusVariant(QByteArray::fromStdString(ssid)))});
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!OnPrivateSystemBus())
            QSKIP("runs only on the private bus of run-on-private-bus.sh");
    }
    void cleanupTestCase() { stopMock(); }

    // No client: no service at all. No adapter: an Ethernet device only. The Ethernet
    // device comes first in every other row too, and a second Wi-Fi device has a
    // network of its own that must not be listed.
    void scan_data() { AddScanRows(); }
    void scan()
    {
        const ScanRow& row = CurrentScanRow();
        stopMock();
        if (row.adapters >= 0) {
            startMock();
            mockCall("AddEthernetDevice", {"eth0", "eth0", 100});
        }
        QStringList devices;
        for (int i = 0; i < row.adapters; ++i)
            devices << addWifiDevice(QStringLiteral("wlan%1").arg(i));
        for (const WlanNetwork& network : row.networks)
            addAccessPoint(devices.value(0), network.ssid, network.signalQuality);
        if (devices.size() > 1)
            addAccessPoint(devices[1], "Second", 50);
        NetworkManagerWlan wlan;
        RunScanRow(wlan);
    }
};

HOPTRACE_TEST_WHEN(NetworkManagerScanTest, OnPrivateSystemBus)
#include "NetworkManagerScanTest.moc"
