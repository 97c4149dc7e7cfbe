#include "TestMain.h"

#include "SimDevice.h"
#include "webserver/Datagrams.h"
#include "webserver/SetupDatagrams.h"

#include <QTest>

namespace {

constexpr double RebootSeconds = 4.0;
constexpr int DeviceInterface = 3;

DeviceConfig sampleConfig()
{
    DeviceConfig config;
    config.hostName = "TAVIK-123456";
    config.mac = "00:08:DC:12:34:56";
    config.dhcp = true;
    config.address = "192.168.1.20";
    config.port = 80;
    config.mask = "255.255.255.0";
    config.gateway = "192.168.1.1";
    config.dns = "192.168.1.1";
    config.firmware = "2.14";
    return config;
}

Arrival broadcast(const std::string& bytes, int interfaceIndex = DeviceInterface)
{
    return Arrival{bytes, "192.168.1.2", 8080, "255.255.255.255", interfaceIndex};
}

Arrival unicast(const std::string& bytes, const std::string& to)
{
    return Arrival{bytes, "192.168.1.2", 8080, to, DeviceInterface};
}

TavikSetup::OctetBoxTexts rows(std::initializer_list<const char*> texts)
{
    TavikSetup::OctetBoxTexts boxes;
    std::size_t i = 0;
    for (const char* text : texts)
        boxes[i++] = text;
    return boxes;
}

std::string setIPTo10_0_0_7(const std::string& mac)
{
    return TavikSetup::SetIPRequest(rows({"10", "0", "0", "7", "255", "255", "0", "0", "10", "0", "0", "1", "9", "9",
                                          "9", "9"}),
                                    "8081", mac);
}

} // namespace

Q_DECLARE_METATYPE(Arrival)
Q_DECLARE_METATYPE(Reaction::Kind)

class SimDeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replyBlockLayout()
    {
        SimDevice device(sampleConfig(), DeviceInterface, RebootSeconds);
        const std::string block = device.replyBlock();
        QCOMPARE(block, std::string("Host Name : TAVIK-123456\r\n"
                                    "MAC Address : 00:08:DC:12:34:56\r\n"
                                    "IP Assignment : DHCP\r\n"
                                    "IP Address : 192.168.1.20:80\r\n"
                                    "SubNet Mask : 255.255.255.0\r\n"
                                    "Gateway : 192.168.1.1\r\n"
                                    "DNS Server : 192.168.1.1\r\n"
                                    "Firmware : 2.14\r\n"));
        // The program reads it as a reply and finds the MAC where it looks.
        QVERIFY(TavikDatagram::IsWebserverReply(block));
        QCOMPARE(TavikDatagram::ReplyMac(block), std::string("00:08:DC:12:34:56"));
    }

    void reacts_data()
    {
        QTest::addColumn<Arrival>("arrival");
        QTest::addColumn<Reaction::Kind>("kind");
        using K = Reaction::Kind;
        const std::string prefix = "TAVIKwebserver|";
        const SimDevice other(DeviceConfig{}, -1, RebootSeconds);

        QTest::newRow("list request") << broadcast(TavikDatagram::ListRequest()) << K::Listed;
        QTest::newRow("list request on an unknown interface") << broadcast(TavikDatagram::ListRequest(), -1)
                                                              << K::Listed;
        QTest::newRow("list request from another segment") << broadcast(TavikDatagram::ListRequest(), 4)
                                                           << K::Ignored;
        QTest::newRow("keyword without closing bar") << broadcast(prefix + "List") << K::Ignored;
        QTest::newRow("prefix in other case") << broadcast("tavikwebserver|List|") << K::Ignored;
        QTest::newRow("unknown keyword") << broadcast(prefix + "Status|") << K::Ignored;
        QTest::newRow("empty datagram") << broadcast("") << K::Ignored;
        QTest::newRow("another device's reply") << broadcast(other.replyBlock()) << K::Ignored;
        QTest::newRow("its own reply") << broadcast(SimDevice(sampleConfig(), -1, 1).replyBlock()) << K::Ignored;
        QTest::newRow("reply that quotes a request")
            << broadcast("Host Name : x\r\nMAC Address : " + TavikDatagram::ListRequest()) << K::Ignored;
        QTest::newRow("reboot to its address") << unicast(TavikDatagram::RebootRequest(), "192.168.1.20")
                                               << K::Rebooting;
        QTest::newRow("reboot to another address") << unicast(TavikDatagram::RebootRequest(), "192.168.1.21")
                                                   << K::Ignored;
        QTest::newRow("reboot by broadcast") << broadcast(TavikDatagram::RebootRequest()) << K::Ignored;
        QTest::newRow("default to its address") << unicast(TavikDatagram::LoadDefaultsRequest(), "192.168.1.20")
                                                << K::DefaultsRestored;
        QTest::newRow("default by broadcast") << broadcast(TavikDatagram::LoadDefaultsRequest()) << K::Ignored;
        QTest::newRow("SetIP with its MAC tail") << broadcast(setIPTo10_0_0_7("00:08:DC:12:34:56")) << K::SetIP;
        QTest::newRow("SetIP, MAC tail in lower case") << broadcast(setIPTo10_0_0_7("00:08:dc:12:34:56"))
                                                       << K::SetIP;
        QTest::newRow("SetIP with another MAC tail") << broadcast(setIPTo10_0_0_7("00:08:DC:12:34:57"))
                                                     << K::Ignored;
        QTest::newRow("SetIP one byte short") << broadcast(setIPTo10_0_0_7("00:08:DC:12:34:56").substr(0, 42))
                                              << K::Ignored;
        QTest::newRow("SetDHCP with its MAC tail")
            << broadcast(TavikSetup::SetDHCPRequest("8080", "00:08:DC:12:34:56")) << K::SetDHCP;
        QTest::newRow("SetDHCP with another MAC tail")
            << broadcast(TavikSetup::SetDHCPRequest("8080", "00:08:DC:65:43:21")) << K::Ignored;
    }
    void reacts()
    {
        QFETCH(Arrival, arrival);
        QFETCH(Reaction::Kind, kind);
        SimDevice device(sampleConfig(), DeviceInterface, RebootSeconds);
        const Reaction reaction = device.onDatagram(arrival, 100.0);
        QCOMPARE(reaction.kind, kind);
        QCOMPARE(reaction.reply.has_value(), kind == Reaction::Kind::Listed);
    }

    void silentWhileRebooting()
    {
        SimDevice device(sampleConfig(), DeviceInterface, RebootSeconds);
        device.onDatagram(unicast(TavikDatagram::RebootRequest(), "192.168.1.20"), 100.0);
        // The second copy of the reboot request finds the device already rebooting.
        QCOMPARE(device.onDatagram(unicast(TavikDatagram::RebootRequest(), "192.168.1.20"), 100.0).kind,
                 Reaction::Kind::Ignored);
        QCOMPARE(device.onDatagram(broadcast(TavikDatagram::ListRequest()), 103.9).kind, Reaction::Kind::Ignored);
        QCOMPARE(device.onDatagram(broadcast(TavikDatagram::ListRequest()), 104.0).kind, Reaction::Kind::Listed);
    }

    void setIPTakesTheNewConfiguration()
    {
        SimDevice device(sampleConfig(), DeviceInterface, RebootSeconds);
        device.onDatagram(broadcast(setIPTo10_0_0_7("00:08:DC:12:34:56")), 100.0);
        const Reaction later = device.onDatagram(broadcast(TavikDatagram::ListRequest()), 110.0);
        QVERIFY(later.reply.has_value());
        QCOMPARE(*later.reply, std::string("Host Name : TAVIK-123456\r\n"
                                           "MAC Address : 00:08:DC:12:34:56\r\n"
                                           "IP Assignment : STATIC\r\n"
                                           "IP Address : 10.0.0.7:8081\r\n"
                                           "SubNet Mask : 255.255.0.0\r\n"
                                           "Gateway : 10.0.0.1\r\n"
                                           "DNS Server : 9.9.9.9\r\n"
                                           "Firmware : 2.14\r\n"));
        // Reboot now reaches it at its new address only.
        QCOMPARE(device.onDatagram(unicast(TavikDatagram::RebootRequest(), "192.168.1.20"), 111.0).kind,
                 Reaction::Kind::Ignored);
        QCOMPARE(device.onDatagram(unicast(TavikDatagram::RebootRequest(), "10.0.0.7"), 111.0).kind,
                 Reaction::Kind::Rebooting);
    }

    void setDHCPKeepsTheAddress()
    {
        DeviceConfig fixed = sampleConfig();
        fixed.dhcp = false;
        SimDevice device(fixed, DeviceInterface, RebootSeconds);
        device.onDatagram(broadcast(TavikSetup::SetDHCPRequest("60000", fixed.mac)), 100.0);
        QCOMPARE(device.config().dhcp, true);
        QCOMPARE(device.config().port, std::uint16_t(60000));
        QCOMPARE(device.config().address, fixed.address);
        QCOMPARE(device.config().mask, fixed.mask);
    }

    void defaultRestoresTheFirstSettings()
    {
        SimDevice device(sampleConfig(), DeviceInterface, RebootSeconds);
        const std::string original = device.replyBlock();
        device.onDatagram(broadcast(setIPTo10_0_0_7("00:08:DC:12:34:56")), 100.0);
        const Reaction reaction = device.onDatagram(unicast(TavikDatagram::LoadDefaultsRequest(), "10.0.0.7"), 110.0);
        QCOMPARE(reaction.kind, Reaction::Kind::DefaultsRestored);
        QCOMPARE(reaction.addressBefore, std::string("10.0.0.7"));
        QCOMPARE(device.replyBlock(), original);
        QVERIFY(device.isSilent(113.0));
    }
};

HOPTRACE_TEST(SimDeviceTest)
#include "SimDeviceTest.moc"
