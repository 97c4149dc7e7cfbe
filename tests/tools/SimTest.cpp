#include "TestMain.h"

#include "SimFleet.h"
#include "SimSettings.h"
#include "webserver/Datagrams.h"
#include "webserver/SetupDatagrams.h"

#include <QTest>

namespace {

using Kind = Reaction::Kind;
const std::string Mac = "00:08:DC:12:34:56";
const std::string Broadcast = "255.255.255.255";

// The defaults (static 192.168.1.20:80, gateway and DNS 192.168.1.1) with a MAC and a reply delay.
SimDevice device(const char* mac, const char* address = "192.168.1.20", int interfaceIndex = 3, int delayMs = 0,
                 int jitterMs = 0)
{
    DeviceConfig config;
    config.mac = mac;
    config.address = address;
    config.replyDelayMs = delayMs;
    config.replyJitterMs = jitterMs;
    return SimDevice(config, interfaceIndex, 4.0);
}

Arrival datagram(const std::string& bytes, const std::string& to = Broadcast, int interfaceIndex = 3)
{
    return Arrival{bytes, "10.77.1.1", 50000, to, interfaceIndex};
}

// Static 10.0.0.7:8081, mask 255.255.0.0, gateway 10.0.0.1, DNS 9.9.9.9.
std::string setIP(const std::string& mac)
{
    return TavikSetup::SetIPRequest(
        {"10", "0", "0", "7", "255", "255", "0", "0", "10", "0", "0", "1", "9", "9", "9", "9"}, "8081", mac);
}

// "name mac mode address:port/mask gateway dns firmware delay+jitter interface"
std::string describe(const DeviceConfig& d)
{
    return d.hostName + " " + d.mac + (d.dhcp ? " dhcp " : " static ") + d.address + ":" + std::to_string(d.port) + "/"
        + d.mask + " " + d.gateway + " " + d.dns + " " + d.firmware + " " + std::to_string(d.replyDelayMs) + "+"
        + std::to_string(d.replyJitterMs) + " " + (d.interfaceName.empty() ? "any" : d.interfaceName);
}

// A device list like the demo's, with comments, blank lines, CR LF and spaces around keys.
const char* const LanConf = "# office segment\r\n"
                            "name=WS-OLD, mac=00:0a:5b:20:00:04 ,ip=10.77.1.40,fw=1.07,iface=sw1 # older\r\n"
                            "\n"
                            "name=WS-LAB,mode=dhcp,port=8080,ip=10.77.1.57,gw=10.77.1.254,dns=8.8.8.8\n";

} // namespace

Q_DECLARE_METATYPE(Arrival)
Q_DECLARE_METATYPE(Reaction::Kind)

class SimTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deviceReacts_data()
    {
        Columns<Arrival, Reaction::Kind>("arrival", "kind");
        using namespace TavikDatagram;
        const std::string own = "192.168.1.20";
        QTest::newRow("list request") << datagram(ListRequest()) << Kind::Listed;
        QTest::newRow("list request, interface unknown") << datagram(ListRequest(), Broadcast, -1) << Kind::Listed;
        QTest::newRow("list request from another segment") << datagram(ListRequest(), Broadcast, 4) << Kind::Ignored;
        QTest::newRow("keyword without closing bar") << datagram("TAVIKwebserver|List") << Kind::Ignored;
        QTest::newRow("prefix in other case") << datagram("tavikwebserver|List|") << Kind::Ignored;
        QTest::newRow("unknown keyword") << datagram("TAVIKwebserver|Status|") << Kind::Ignored;
        Row("its own reply, quoting a request", datagram(device(Mac.c_str()).replyBlock() + ListRequest()),
            Kind::Ignored);
        QTest::newRow("reboot to its address") << datagram(RebootRequest(), own) << Kind::Rebooting;
        QTest::newRow("reboot by broadcast") << datagram(RebootRequest()) << Kind::Ignored;
        QTest::newRow("default to its address") << datagram(LoadDefaultsRequest(), own) << Kind::DefaultsRestored;
        QTest::newRow("default by broadcast") << datagram(LoadDefaultsRequest()) << Kind::Ignored;
        QTest::newRow("SetIP with its MAC tail") << datagram(setIP(Mac)) << Kind::SetIP;
        QTest::newRow("SetIP, last MAC byte differs") << datagram(setIP("00:08:DC:12:34:57")) << Kind::Ignored;
        QTest::newRow("SetIP one byte short") << datagram(setIP(Mac).substr(0, 42)) << Kind::Ignored;
        Row("SetDHCP with its MAC tail", datagram(TavikSetup::SetDHCPRequest("8080", Mac)), Kind::SetDHCP);
        QTest::newRow("SetDHCP, fourth MAC byte differs")
            << datagram(TavikSetup::SetDHCPRequest("8080", "00:08:DC:13:34:56")) << Kind::Ignored;
    }
    void deviceReacts()
    {
        QFETCH(Arrival, arrival);
        QFETCH(Reaction::Kind, kind);
        SimDevice sample = device(Mac.c_str());
        const Reaction reaction = sample.onDatagram(arrival, 100.0);
        QCOMPARE(reaction.kind, kind);
        QCOMPARE(reaction.reply.has_value(), kind == Kind::Listed);
    }

    void deviceTakesSetupCommands()
    {
        SimDevice sample = device(Mac.c_str());
        const std::string first = sample.replyBlock();
        QVERIFY(first.find("IP Assignment : STATIC\r\n") != std::string::npos);
        // SetDHCP keeps the address: a DHCP server would hand out the same lease again.
        sample.onDatagram(datagram(TavikSetup::SetDHCPRequest("60000", Mac)), 100.0);
        // Labels, " : ", CR LF, and a labelled line after "DNS Server" that ends its value.
        QCOMPARE(sample.replyBlock(),
                 std::string("Host Name : TAVIK-WS\r\n"
                             "MAC Address : 00:08:DC:12:34:56\r\n"
                             "IP Assignment : DHCP\r\n"
                             "IP Address : 192.168.1.20:60000\r\n"
                             "SubNet Mask : 255.255.255.0\r\n"
                             "Gateway : 192.168.1.1\r\n"
                             "DNS Server : 192.168.1.1\r\n"
                             "Firmware : 2.14\r\n"));
        sample.onDatagram(datagram(setIP(Mac)), 110.0);
        QCOMPARE(describe(sample.config()),
                 "TAVIK-WS 00:08:DC:12:34:56 static 10.0.0.7:8081/255.255.0.0 10.0.0.1 9.9.9.9 2.14 0+0 any");
        // Default reaches it at its new address, brings back the first settings and reboots it.
        QCOMPARE(sample.onDatagram(datagram(TavikDatagram::LoadDefaultsRequest(), "10.0.0.7"), 120.0).kind,
                 Kind::DefaultsRestored);
        QCOMPARE(sample.replyBlock(), first);
        QVERIFY(sample.isSilent(123.9) && !sample.isSilent(124.0));
        // Reboot: silent for four seconds, deaf to the program's second copy.
        const Arrival reboot = datagram(TavikDatagram::RebootRequest(), "192.168.1.20");
        QCOMPARE(sample.onDatagram(reboot, 200.0).kind, Kind::Rebooting);
        QCOMPARE(sample.onDatagram(reboot, 200.0).kind, Kind::Ignored);
        QCOMPARE(sample.onDatagram(datagram(TavikDatagram::ListRequest()), 203.9).kind, Kind::Ignored);
        QCOMPARE(sample.onDatagram(datagram(TavikDatagram::ListRequest()), 204.0).kind, Kind::Listed);
    }

    void fleetReplies_data()
    {
        Columns<bool, QString>("broadcastReplies", "destination");
        QTest::newRow("to the requester") << false << "10.77.1.1:50000";
        QTest::newRow("by broadcast") << true << "255.255.255.255:8080";
    }
    void fleetReplies()
    {
        QFETCH(bool, broadcastReplies);
        QFETCH(QString, destination);
        // The third device hears every interface and answers 1500 ms late plus up to 200 (the draw gives half).
        SimFleet fleet({device("00:08:DC:00:00:01", "10.77.1.20"), device("00:08:DC:00:00:02", "10.77.1.21"),
                        device("00:0A:00:00:00:03", "10.77.2.30", -1, 1500, 200)},
                       broadcastReplies ? SimFleet::ReplyMode::Broadcast : SimFleet::ReplyMode::Unicast,
                       [](int jitterMs) { return jitterMs / 2; });
        const FleetResponse response = fleet.onDatagram(datagram(TavikDatagram::ListRequest()), 10.0);
        QCOMPARE(response.replies.size(), std::size_t(3));
        for (const OutgoingReply& reply : response.replies) {
            const SimDevice& replier = fleet.devices()[reply.device];
            QCOMPARE(reply.bytes, replier.replyBlock());
            QCOMPARE(reply.sourceAddress, replier.config().address);
            QCOMPARE(QString::fromStdString(reply.destinationAddress + ":" + std::to_string(reply.destinationPort)),
                     destination);
            QCOMPARE(reply.interfaceIndex, 3); // the request's, also for the device on every interface
            // Replies come back to the simulator (broadcast ones always); answering them would flood the LAN.
            const FleetResponse echo = fleet.onDatagram(
                Arrival{reply.bytes, reply.sourceAddress, 8080, reply.destinationAddress, 3}, 10.1);
            QVERIFY(echo.replies.empty() && echo.log.empty());
        }
        QCOMPARE(response.replies[2].delayMs, 1500 + 100);
    }

    void fleetMovesTheAddressOfTheDeviceSetUp()
    {
        SimFleet fleet({device("00:08:DC:00:00:01", "10.77.1.20"), device("00:08:DC:00:00:02", "10.77.1.21")},
                       SimFleet::ReplyMode::Unicast, {});
        const FleetResponse response = fleet.onDatagram(datagram(setIP("00:08:DC:00:00:02")), 10.0);
        QVERIFY(response.replies.empty() && response.moves.size() == 1);
        const auto& move = response.moves[0];
        QCOMPARE(std::to_string(move.device) + ": " + move.from + " -> " + move.to, "1: 10.77.1.21 -> 10.0.0.7");
        QCOMPARE(response.rebooting, std::vector<std::size_t>{1});
        QVERIFY(fleet.isDeviceAddress("10.0.0.7") && !fleet.isDeviceAddress("10.77.1.21"));
    }

    void commandLine_data()
    {
        Columns<QStringList, QString>("arguments", "devices");
        QTest::newRow("generated, counting across an octet")
            << QStringList{"-n",         "2",       "--mac-prefix", "00:08:dc:aa", "--first-address",
                           "10.0.0.255", "--ports", "80,8080"}
            << "TAVIK-AA0001 00:08:DC:AA:00:01 static 10.0.0.255:80/255.255.255.0 10.0.0.1 10.0.0.1 2.14 0+0 any\n"
               "TAVIK-AA0002 00:08:DC:AA:00:02 dhcp 10.0.1.0:8080/255.255.255.0 10.0.1.1 10.0.1.1 2.14 0+0 any";
        // Only the listed devices; keys left out take the pattern's, gateway and DNS follow a new address.
        QTest::newRow("config file, then device lines")
            << QStringList{"--config", "lan.conf", "--device",
                           "name=WS-HALL,mac=00:08:DC:2B:00:05,ip=172.16.5.20,iface=sw2,delay=1200,jitter=300"}
            << "WS-OLD 00:0A:5B:20:00:04 static 10.77.1.40:80/255.255.255.0 10.77.1.1 10.77.1.1 1.07 0+0 sw1\n"
               "WS-LAB 00:08:DC:00:00:02 dhcp 10.77.1.57:8080/255.255.255.0 10.77.1.254 8.8.8.8 2.14 0+0 any\n"
               "WS-HALL 00:08:DC:2B:00:05 static 172.16.5.20:80/255.255.255.0 172.16.5.1 172.16.5.1 2.14 1200+300 sw2";
        for (const QStringList& refused : {QStringList{"--device", "gateway=10.0.0.1"},
                                           {"--device", "mac=00:08:DC:12:34"},
                                           {"--device", "ip=10.0.0.256"},
                                           {"--config", "missing.conf"},
                                           {"--device", "fw=1.0\r\nMAC Address : x"},
                                           {"-n", "256", "--mac-prefix", "00:08:DC:12:34"},
                                           {"--listen-port", "0"},
                                           {"--delay", "600001"}})
            QTest::newRow(qPrintable(refused.join(' '))) << refused << "refused";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, devices);
        const SimCommandLine line = ParseSimCommandLine(
            QStringList{"tavik-sim"} + arguments, [](const std::string& path) -> std::optional<std::string> {
                return path == "lan.conf" ? std::optional<std::string>(LanConf) : std::nullopt;
            });
        QStringList played;
        for (const DeviceConfig& config : line.settings ? line.settings->devices : std::vector<DeviceConfig>{})
            played << QString::fromStdString(describe(config));
        QCOMPARE(line.settings || line.error.empty() ? played.join('\n') : QString("refused"), devices);
    }
};

HOPTRACE_TEST(SimTest)
#include "SimTest.moc"
