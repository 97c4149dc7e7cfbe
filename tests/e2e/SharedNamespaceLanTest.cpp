#include "TestMain.h"

#include "SimulatedLan.h"
#include "SimulatorProcess.h"

#include "platform/qt/QtUdpSocket.h"
#include "webserver/Datagrams.h"

#include <QNetworkInterface>
#include <QTest>

#include <map>

// Runs inside the simulated LAN (started by EndToEndRuns): the simulator in the PC's own
// namespace, beside the program's real UDP socket, as on a machine without a second
// namespace. Both hold port 8080; replies must reach the program, the program's Reboot
// must reach the device, and each reply must come from its device's address.
class SharedNamespaceLanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!SimulatedLan::inside())
            QSKIP("runs only inside the simulated LAN (see EndToEndRuns)");
        QVERIFY(simulator_.start({"name=WS-A,mac=00:08:DC:00:00:0A,ip=192.168.1.77,iface=lan1",
                                  "name=WS-B,mac=00:08:DC:00:00:0B,ip=192.168.1.78,iface=lan1"},
                                 SimulatorProcess::Side::Pc));
    }

    void repliesComeFromEachDevicesAddress()
    {
        QtUdpSocket socket;
        QVERIFY(socket.bind(TavikDatagram::Port));
        const int lan1 = QNetworkInterface::interfaceIndexFromName("lan1");
        QVERIFY(socket.send(TavikDatagram::ListRequest(), "255.255.255.255", TavikDatagram::Port, lan1));

        std::map<std::string, std::string> senderOfMac;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                while (const auto datagram = socket.take()) {
                    if (TavikDatagram::IsWebserverReply(datagram->bytes))
                        senderOfMac[TavikDatagram::ReplyMac(datagram->bytes)] = datagram->senderAddress;
                }
                return senderOfMac.size() == 2;
            }(),
            10'000);
        QCOMPARE(senderOfMac["00:08:DC:00:00:0A"], std::string("192.168.1.77"));
        QCOMPARE(senderOfMac["00:08:DC:00:00:0B"], std::string("192.168.1.78"));
    }

    void unicastReachesTheDeviceNotTheProgram()
    {
        QtUdpSocket socket;
        QVERIFY(socket.bind(TavikDatagram::Port));
        QVERIFY(socket.send(TavikDatagram::RebootRequest(), "192.168.1.78", TavikDatagram::Port, -1));
        QTRY_VERIFY_WITH_TIMEOUT(!simulator_.received().filter("-> 192.168.1.78 ").filter("Reboot|").isEmpty(),
                                 10'000);
        QVERIFY(!socket.take().has_value());
    }

private:
    SimulatorProcess simulator_;
};

HOPTRACE_TEST_WHEN(SharedNamespaceLanTest, SimulatedLan::inside)
#include "SharedNamespaceLanTest.moc"
