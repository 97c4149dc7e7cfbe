#include "TestMain.h"

#include "webserver/SetupDatagrams.h"

#include <QTest>

#include <string>

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

QByteArray raw(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

const std::string Prefix = "TAVIKwebserver|";

TavikSetup::OctetBoxTexts boxes(const std::string& ip, const std::string& mask, const std::string& gateway,
                                const std::string& dns)
{
    TavikSetup::OctetBoxTexts texts;
    std::size_t box = 0;
    for (const std::string& dotted : {ip, mask, gateway, dns}) {
        std::size_t from = 0;
        for (int i = 0; i < 4; ++i) {
            const std::size_t dot = dotted.find('.', from);
            texts[box++] = dotted.substr(from, dot == std::string::npos ? std::string::npos : dot - from);
            from = dot == std::string::npos ? dotted.size() : dot + 1;
        }
    }
    return texts;
}

} // namespace

class SetupDatagramsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setIP_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("gateway");
        QTest::addColumn<QString>("dns");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QByteArray>("body");

        QTest::newRow("worked example")
            << "192.168.1.20" << "255.255.255.0" << "192.168.1.1" << "8.8.8.8" << "80" << "00:08:DC:12:34:56"
            << raw("SetIP|" + bytes({0x12, 0x34, 0x56, 0xC0, 0xA8, 0x01, 0x14, 0x00, 0x50, 0xFF, 0xFF, 0xFF, 0x00,
                                     0xC0, 0xA8, 0x01, 0x01, 0x08, 0x08, 0x08, 0x08}) + "|");
        QTest::newRow("empty last octet box is sent as 0")
            << "10.0.0." << "255.255.255." << "10.0.0.1" << "10.0.0.1" << "8080" << "00:08:DC:12:34:56"
            << raw("SetIP|" + bytes({0x12, 0x34, 0x56, 10, 0, 0, 0, 0x1F, 0x90, 255, 255, 255, 0, 10, 0, 0, 1,
                                     10, 0, 0, 1}) + "|");
        QTest::newRow("value bytes equal to | and 0 are not escaped")
            << "124.0.124.0" << "0.0.0.0" << "0.0.0.0" << "0.0.0.0" << "124" << "00:08:DC:7C:00:7c"
            << raw("SetIP|" + bytes({124, 0, 124, 124, 0, 124, 0, 0, 124, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
                   "|");
    }
    void setIP()
    {
        QFETCH(QString, ip);
        QFETCH(QString, mask);
        QFETCH(QString, gateway);
        QFETCH(QString, dns);
        QFETCH(QString, port);
        QFETCH(QString, mac);
        QFETCH(QByteArray, body);
        const std::string datagram = TavikSetup::SetIPRequest(
            boxes(ip.toStdString(), mask.toStdString(), gateway.toStdString(), dns.toStdString()),
            port.toStdString(), mac.toStdString());
        QCOMPARE(raw(datagram), raw(Prefix) + body);
        QCOMPARE(datagram.size(), TavikSetup::SetIPLength);
    }

    void setDHCP_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("worked example") << "8080" << "00:08:DC:12:34:56"
                                        << raw("SetDHCP|" + bytes({0x12, 0x34, 0x56, 0x1F, 0x90}) + "|");
        QTest::newRow("highest admitted port") << "60000" << "00:08:DC:12:34:56"
                                               << raw("SetDHCP|" + bytes({0x12, 0x34, 0x56, 0xEA, 0x60}) + "|");
        QTest::newRow("empty port") << "" << "00:08:DC:12:34:56"
                                    << raw("SetDHCP|" + bytes({0x12, 0x34, 0x56, 0, 0}) + "|");
        QTest::newRow("lower-case hex") << "80" << "00:08:dc:ab:cd:ef"
                                        << raw("SetDHCP|" + bytes({0xAB, 0xCD, 0xEF, 0, 80}) + "|");
        QTest::newRow("short MAC") << "80" << "00:08:DC:12:3"
                                   << raw("SetDHCP|" + bytes({0x12, 0x03, 0, 0, 80}) + "|");
        QTest::newRow("empty MAC") << "80" << "" << raw("SetDHCP|" + bytes({0, 0, 0, 0, 80}) + "|");
    }
    void setDHCP()
    {
        QFETCH(QString, port);
        QFETCH(QString, mac);
        QFETCH(QByteArray, body);
        const std::string datagram = TavikSetup::SetDHCPRequest(port.toStdString(), mac.toStdString());
        QCOMPARE(raw(datagram), raw(Prefix) + body);
        QCOMPARE(datagram.size(), TavikSetup::SetDHCPLength);
    }

    void octetValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("not a number") << "ab" << 0;
        QTest::newRow("plain") << "192" << 192;
        QTest::newRow("line break after digits") << "1\r\n" << 1;
        QTest::newRow("half goes down to even") << "2.5" << 2;
        QTest::newRow("half goes up to even") << "3.5" << 4;
        QTest::newRow("above half") << "2.6" << 3;
        QTest::newRow("254.5 to even") << "254.5" << 254;
        QTest::newRow("negative held at 0") << "-5" << 0;
        QTest::newRow("above a byte held at 255") << "300" << 255;
        QTest::newRow("255.5 held at 255") << "255.5" << 255;
        QTest::newRow("huge exponent held at 255") << "9e999" << 255;
    }
    void octetValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(TavikSetup::OctetValue(text.toStdString())), value);
    }

    void portBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::newRow("8080") << "8080" << 0x1F << 0x90;
        QTest::newRow("60000") << "60000" << 0xEA << 0x60;
        QTest::newRow("empty") << "" << 0 << 0;
        QTest::newRow("255") << "255" << 0 << 255;
        QTest::newRow("256") << "256" << 1 << 0;
        QTest::newRow("half rounds to even") << "2.5" << 0 << 2;
        // Rounded before splitting, so both bytes name the same port.
        QTest::newRow("fraction just below 256") << "255.6" << 1 << 0;
        QTest::newRow("negative held at 0") << "-5" << 0 << 0;
        QTest::newRow("above 16 bits held at 65535") << "70000" << 0xFF << 0xFF;
    }
    void portBytes()
    {
        QFETCH(QString, text);
        QFETCH(int, high);
        QFETCH(int, low);
        const auto port = TavikSetup::PortBytes(text.toStdString());
        QCOMPARE(int(port[0]), high);
        QCOMPARE(int(port[1]), low);
    }

    void macTail_data()
    {
        QTest::addColumn<QString>("mac");
        QTest::addColumn<int>("b4");
        QTest::addColumn<int>("b5");
        QTest::addColumn<int>("b6");
        QTest::newRow("upper case") << "00:08:DC:12:34:56" << 0x12 << 0x34 << 0x56;
        QTest::newRow("lower case") << "00:08:dc:ab:cd:ef" << 0xAB << 0xCD << 0xEF;
        QTest::newRow("stops at first non-hex") << "00:08:DC:1G:G1:A-" << 0x01 << 0 << 0x0A;
        QTest::newRow("last group cut short") << "00:08:DC:12:34:5" << 0x12 << 0x34 << 0x05;
        QTest::newRow("only the first groups") << "00:08:DC" << 0 << 0 << 0;
        QTest::newRow("empty") << "" << 0 << 0 << 0;
        QTest::newRow("text beyond 17 characters ignored") << "00:08:DC:12:34:56:78" << 0x12 << 0x34 << 0x56;
    }
    void macTail()
    {
        QFETCH(QString, mac);
        QFETCH(int, b4);
        QFETCH(int, b5);
        QFETCH(int, b6);
        const TavikSetup::MacTail tail = TavikSetup::MacTailOf(mac.toStdString());
        QCOMPARE(int(tail[0]), b4);
        QCOMPARE(int(tail[1]), b5);
        QCOMPARE(int(tail[2]), b6);
    }

    void parsesWhatItBuilds()
    {
        const std::string setIP = TavikSetup::SetIPRequest(
            boxes("192.168.124.0", "255.255.0.0", "192.168.1.1", "8.8.4.4"), "60000", "00:08:DC:7C:00:FF");
        const auto ip = TavikSetup::ParseSetIP(setIP);
        QVERIFY(ip.has_value());
        QCOMPARE(ip->macTail, (TavikSetup::MacTail{0x7C, 0x00, 0xFF}));
        QCOMPARE(TavikSetup::DottedText(ip->address), std::string("192.168.124.0"));
        QCOMPARE(int(ip->port), 60000);
        QCOMPARE(TavikSetup::DottedText(ip->mask), std::string("255.255.0.0"));
        QCOMPARE(TavikSetup::DottedText(ip->gateway), std::string("192.168.1.1"));
        QCOMPARE(TavikSetup::DottedText(ip->dns), std::string("8.8.4.4"));

        const auto dhcp = TavikSetup::ParseSetDHCP(TavikSetup::SetDHCPRequest("8080", "00:08:DC:12:34:56"));
        QVERIFY(dhcp.has_value());
        QCOMPARE(dhcp->macTail, (TavikSetup::MacTail{0x12, 0x34, 0x56}));
        QCOMPARE(int(dhcp->port), 8080);
    }

    void rejectsWhatIsNotASetupRequest_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        const std::string setIP = TavikSetup::SetIPRequest(boxes("1.2.3.4", "255.0.0.0", "1.1.1.1", "1.1.1.1"),
                                                           "80", "00:08:DC:12:34:56");
        const std::string setDHCP = TavikSetup::SetDHCPRequest("80", "00:08:DC:12:34:56");
        QTest::newRow("one byte short") << raw(setIP.substr(0, setIP.size() - 1));
        QTest::newRow("one byte long") << raw(setIP + "|");
        QTest::newRow("no closing bar") << raw(setIP.substr(0, setIP.size() - 1) + "x");
        QTest::newRow("other prefix") << raw("tavikwebserver|" + setIP.substr(15));
        QTest::newRow("DHCP short") << raw(setDHCP.substr(0, setDHCP.size() - 1));
        QTest::newRow("list request") << QByteArray("TAVIKwebserver|List|");
        QTest::newRow("empty") << QByteArray();
    }
    void rejectsWhatIsNotASetupRequest()
    {
        QFETCH(QByteArray, datagram);
        const std::string_view view(datagram.constData(), static_cast<std::size_t>(datagram.size()));
        QVERIFY(!TavikSetup::ParseSetIP(view).has_value());
        QVERIFY(!TavikSetup::ParseSetDHCP(view).has_value());
    }
};

HOPTRACE_TEST(SetupDatagramsTest)
#include "SetupDatagramsTest.moc"
