#include "TestMain.h"

#include "SimFleet.h"
#include "SimSettings.h"
#include "devices/Datagrams.h"
#include "devices/DeviceReply.h"
#include "devices/SetupDatagrams.h"

namespace {

using Kind = Reaction::Kind;
using namespace TavikDatagram;
const std::string Mac = "00:08:DC:12:34:56";

// The defaults (static 192.168.1.20:80, gateway and DNS 192.168.1.1) with a MAC and a reply delay.
SimDevice device(int interfaceIndex = 3, int delayMs = 0)
{
    DeviceConfig config;
    config.mac = Mac;
    config.replyDelayMs = delayMs;
    config.replyJitterMs = delayMs / 10;
    return SimDevice(config, interfaceIndex, 4.0);
}

Arrival datagram(const std::string& bytes, const std::string& to = "255.255.255.255", int interfaceIndex = 3)
{
    return Arrival{bytes, "10.77.1.1", 50000, to, interfaceIndex};
}

std::string setIP(const std::string& mac)
{
    return TavikSetup::SetIPRequest(
        {"10", "0", "0", "7", "255", "255", "0", "0", "10", "0", "0", "1", "9", "9", "9", "9"}, "8081", mac);
}

std::string describe(const DeviceConfig& d)
{
    return d.hostName + " " + d.mac + (d.dhcp ? " dhcp " : " static ") + d.address + ":" + std::to_string(d.port) + "/"
        + d.mask + " " + d.gateway + " " + d.dns + " " + d.firmware + " " + std::to_string(d.replyDelayMs) + "+"
        + std::to_string(d.replyJitterMs) + " " + (d.interfaceName.empty() ? "any" : d.interfaceName);
}

const char* const LanConf = "# office segment\r\n"
                            "name=WS-OLD, mac=00:0a:5b:20:00:04 ,ip=10.77.1.40,fw=1.07,iface=sw1 # older\r\n"
                            "\n"
                            "name=WS-LAB,mode=dhcp,port=8080,ip=10.77.1.57,gw=10.77.1.254,dns=8.8.8.8\n";

} // namespace

Q_DECLARE_METATYPE(Arrival)

class SimTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deviceIgnores_data()
    {
        const auto row = Columns<Arrival>("arrival");
        row("list request from another segment", datagram(ListRequest(), "255.255.255.255", 4));
        row("keyword without closing bar", datagram("TAVIKwebserver|List"));
        row("its own reply, quoting a request", datagram(device().replyBlock() + ListRequest()));
        row("reboot by broadcast", datagram(RebootRequest()));
        row("SetIP, last MAC byte differs", datagram(setIP("00:08:DC:12:34:57")));
        row("SetDHCP, fourth MAC byte differs", datagram(TavikSetup::SetDHCPRequest("8080", "00:08:DC:13:34:56")));
    }
    void deviceIgnores()
    {
        QFETCH(Arrival, arrival);
        QCOMPARE(device().onDatagram(arrival, 100.0).kind, Kind::Ignored);
    }

    // Through the request's interface, also from a device on every one; 1500 ms late plus half of 150.
    void fleetRepliesByBroadcast()
    {
        SimFleet fleet({device(-1, 1500)}, SimFleet::ReplyMode::Broadcast, [](int jitterMs) { return jitterMs / 2; });
        const FleetResponse response = fleet.onDatagram(datagram(ListRequest()), 10.0);
        const OutgoingReply& reply = response.replies.at(0);
        QCOMPARE(reply.sourceAddress + " -> " + reply.destinationAddress + ":" + std::to_string(reply.destinationPort)
                     + " if" + std::to_string(reply.interfaceIndex) + " +" + std::to_string(reply.delayMs),
                 "192.168.1.20 -> 255.255.255.255:8080 if3 +1575");
    }

    // confirm=yes answers SetIP and SetDHCP with the new block, back to the sender also where list
    // requests are answered by broadcast; other devices answer neither.
    void setupAnsweredToItsSender_data()
    {
        const auto row = Columns<QString, std::string, QString>("keys", "request", "answer");
        row("SetIP", "confirm=yes", setIP(Mac),
            QString("10.0.0.7 -> 10.77.1.1:50000 if3: STATIC 10.0.0.7:8081 255.255.0.0 10.0.0.1 9.9.9.9"));
        row("SetDHCP", "confirm=yes", TavikSetup::SetDHCPRequest("8090", Mac),
            QString(
                "192.168.1.20 -> 10.77.1.1:50000 if3: DHCP 192.168.1.20:8090 255.255.255.0 192.168.1.1 192.168.1.1"));
        row("without the key", "", setIP(Mac), "none");
        row("confirm=no", "confirm=no", TavikSetup::SetDHCPRequest("8090", Mac), "none");
    }
    void setupAnsweredToItsSender()
    {
        const auto [keys, request] = Fetch<QString, std::string>("keys", "request");
        std::string error;
        const auto config = ParseDeviceKeys(keys.toStdString() + ",mac=" + Mac, DeviceConfig{}, error);
        QVERIFY2(config, error.c_str());
        SimFleet fleet({SimDevice(*config, 3, 4.0)}, SimFleet::ReplyMode::Broadcast, {});
        const FleetResponse response = fleet.onDatagram(datagram(request), 10.0);
        QString answer = "none";
        for (const OutgoingReply& r : response.replies) {
            const auto shown = ReadDeviceReply(r.bytes);
            answer = QString::fromStdString(
                r.sourceAddress + " -> " + r.destinationAddress + ":" + std::to_string(r.destinationPort) + " if"
                + std::to_string(r.interfaceIndex) + ": " + shown->assignment + " " + shown->address + ":"
                + std::to_string(shown->port) + " " + shown->mask + " " + shown->gateway + " " + shown->dns);
        }
        QTEST(answer, "answer");
        QVERIFY(fleet.devices().front().isSilent(10.5)); // rebooting all the same
    }

    // omit= leaves reply lines out; without the Firmware line the reply ends with the DNS value itself.
    void replyLines_data()
    {
        const auto row = Columns<QString, QByteArray>("keys", "reply");
        const QByteArray host = "Host Name : TAVIK-WS\r\n", mac = "MAC Address : 00:08:DC:00:00:01\r\n",
                         rest = "IP Assignment : STATIC\r\nIP Address : 192.168.1.20:80\r\nSubNet Mask : "
                                "255.255.255.0\r\nGateway : 192.168.1.1\r\n",
                         dns = "DNS Server : 192.168.1.1", firmware = "Firmware : 2.14\r\n";
        row("every line", "", host + mac + rest + dns + "\r\n" + firmware);
        row("ending with the DNS line", "omit=firmware", host + mac + rest + dns);
        row("without host name and DNS", "omit=hostname+dns", mac + rest + firmware);
        row("an unknown line refused", "omit=dns+serial", "refused");
    }
    void replyLines()
    {
        QFETCH(QString, keys);
        std::string error;
        const auto config = ParseDeviceKeys(keys.toStdString(), DeviceConfig{}, error);
        QTEST(config ? QByteArray::fromStdString(SimDevice(*config, -1, 4.0).replyBlock()) : "refused", "reply");
    }

    void commandLine_data()
    {
        const auto row = Columns<QString, QString>("arguments", "devices");
        // Only the listed devices; keys left out take the pattern's, gateway and DNS follow a new address.
        row("config file", "--config lan.conf",
            QString("WS-OLD 00:0A:5B:20:00:04 static 10.77.1.40:80/255.255.255.0 10.77.1.1 10.77.1.1 1.07 0+0 sw1\n"
                    "WS-LAB 00:08:DC:00:00:02 dhcp 10.77.1.57:8080/255.255.255.0 10.77.1.254 8.8.8.8 2.14 0+0 any"));
        for (const char* refused : {"--device ip=10.0.0.256", "--config missing.conf", "--device fw=1.0\r\nMAC",
                                    "-n 256 --mac-prefix 00:08:DC:12:34"})
            row(refused, refused, "refused");
    }
    void commandLine()
    {
        QFETCH(QString, arguments);
        const SimCommandLine line = ParseSimCommandLine(
            QStringList{"tavik-sim"} + arguments.split(' '), [](const std::string& path) -> std::optional<std::string> {
                return path == "lan.conf" ? std::optional<std::string>(LanConf) : std::nullopt;
            });
        QStringList played;
        for (const DeviceConfig& config : line.settings ? line.settings->devices : std::vector<DeviceConfig>{})
            played << QString::fromStdString(describe(config));
        QTEST(line.settings || line.error.empty() ? played.join('\n') : QString("refused"), "devices");
    }
};

HOPTRACE_TEST(SimTest)
#include "SimTest.moc"
