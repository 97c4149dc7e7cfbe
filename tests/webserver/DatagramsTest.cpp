#include "TestMain.h"

#include "common/AdapterTable.h"
#include "webserver/DeviceFacts.h"
#include "webserver/SetupDatagrams.h"
#include "webserver/SubstringIndex.h"

#include <random>

namespace {
const std::string kMac = "00:08:DC:12:34:56";

QString setDHCP(const char* port, const std::string& mac = kMac)
{
    return QString::fromLatin1(QByteArray::fromStdString(TavikSetup::SetDHCPRequest(port, mac)).toHex());
}

QString setIP(const TavikSetup::OctetBoxTexts& boxes, const char* port = "80", const std::string& mac = kMac)
{
    return QString::fromLatin1(QByteArray::fromStdString(TavikSetup::SetIPRequest(boxes, port, mac)).toHex());
}

// "TAVIKwebserver|SetDHCP|" or "...|SetIP|", the value bytes as they are, and the closing "|", in hex.
const QString kDHCP = QByteArray("TAVIKwebserver|SetDHCP|").toHex(), kIP = QByteArray("TAVIKwebserver|SetIP|").toHex();
const QString kBar = "7c";
} // namespace

class DatagramsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setupRequests_data()
    {
        Columns<QString, QString>("built", "expected");
        QTest::newRow("port 60000") << setDHCP("60000") << kDHCP + "123456ea60" + kBar;
        QTest::newRow("empty port") << setDHCP("") << kDHCP + "1234560000" + kBar;
        QTest::newRow("lower-case MAC hex") << setDHCP("80", "00:08:dc:ab:cd:ef") << kDHCP + "abcdef0050" + kBar;
        QTest::newRow("MAC hex ends at a non-hex character")
            << setDHCP("80", "00:08:DC:1G:G1:A-") << kDHCP + "01000a0050" + kBar;
        QTest::newRow("empty box 0, halves to the even neighbour")
            << setIP({"", "2.5", "3.5", "1", "255", "255", "255", "", "1", "1", "1", "1", "1", "1", "1", "1"})
            << kIP + "123456000204010050ffffff000101010101010101" + kBar;
        QTest::newRow("value bytes | and 0 not escaped")
            << setIP({"124", "0", "124", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "124"}, "124",
                     "00:08:DC:7C:00:7c")
            << kIP + "7c007c7c007c00007c00000000000000000000007c" + kBar;
    }
    void setupRequests()
    {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }

    // The simulator reads them back; anything but the exact layout is not a setup request.
    void setupRequestsRead()
    {
        const QByteArray ip = QByteArray::fromHex(
            (kIP + "7c00ffc0a87c00ea60ffff00000102030408080404" + kBar).toLatin1());
        const auto read = TavikSetup::ParseSetIP(ip.toStdString());
        QVERIFY(read && read->macTail == (TavikSetup::MacTail{0x7C, 0, 0xFF}) && read->port == 60000);
        using TavikSetup::DottedText;
        QCOMPARE(DottedText(read->address) + " " + DottedText(read->mask) + " " + DottedText(read->gateway) + " "
                     + DottedText(read->dns),
                 "192.168.124.0 255.255.0.0 1.2.3.4 8.8.4.4");
        QCOMPARE(TavikSetup::ParseSetDHCP(TavikSetup::SetDHCPRequest("8080", kMac))->port, 8080);
        for (const QByteArray& bad :
             {ip + '|', ip.chopped(1) + 'x', "tavikwebserver|" + ip.mid(15), "TAVIKwebserver|SetIX" + ip.mid(20)})
            QVERIFY(!TavikSetup::ParseSetIP(bad.toStdString()) && !TavikSetup::ParseSetDHCP(bad.toStdString()));
    }

    // The "already listed" index gives the plain substring search's answers: lists grown by
    // appends and replaced now and then, asked for pieces of the list, near misses and "".
    void theListIndexAnswersAsThePlainSearch()
    {
        std::mt19937 random(11);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        auto randomText = [&](int length) { // a small alphabet, so that near misses and repeats are common
            std::string s;
            for (int i = 0; i < length; ++i)
                s += "0A8:\r\n"[pick(6)];
            return s;
        };
        SubstringIndex index;
        std::string text;
        for (int round = 0; round < 4000; ++round) {
            if (pick(200) == 0) {
                text = randomText(pick(30));
                index.reset();
            } else {
                text += randomText(pick(40));
                index.extend(text);
            }
            std::string what = randomText(pick(20));
            if (pick(2) == 0 && !text.empty())
                what = text.substr(static_cast<std::size_t>(pick(static_cast<int>(text.size()))),
                                   static_cast<std::size_t>(pick(19)));
            QCOMPARE(index.contains(text, what), text.find(what) != std::string::npos);
        }
    }

    void deviceHints_data()
    {
        // others: "mac address" pairs heard in the same search, on NIC #2.
        Columns<QString, int, QStringList, QString>("address", "interfaceIndex", "others", "hint");
        const QString off = " is not on the network of NIC #1: Reboot may not reach it; Set IP can move it.";
        const QString also = "192.168.1.20 is also the address of 00:08:DC:00:00:09";
        QTest::newRow("on NIC #2's network")
            << "172.16.9.20" << 3 << QStringList{} << "Found on NIC #2 (172.16.5.10/16)";
        QTest::newRow("NIC #2's network heard on NIC #1")
            << "172.16.5.20" << 2 << QStringList{} << "Found on NIC #1 (192.168.1.10/24)\n172.16.5.20" + off;
        QTest::newRow("same address as a device on the other adapter")
            << "192.168.1.20" << 2 << QStringList{"00:08:DC:00:00:09 192.168.1.20", "00:08:DC:00:00:0A 192.168.1.21"}
            << "Found on NIC #1 (192.168.1.10/24)\n" + also + ": two devices answer on it.";
        QTest::newRow("three devices on one address, adapter unknown")
            << "192.168.1.20" << -1 << QStringList{"00:08:DC:00:00:09 192.168.1.20", "00:08:DC:00:00:0A 192.168.1.20"}
            << also + ", 00:08:DC:00:00:0A: several devices answer on it.";
        QTest::newRow("no address is no duplicate and no mismatch")
            << "" << 2 << QStringList{"00:08:DC:00:00:09 "} << "Found on NIC #1 (192.168.1.10/24)";
    }
    void deviceHints()
    {
        QFETCH(QString, address);
        QFETCH(int, interfaceIndex);
        QFETCH(QStringList, others);
        QFETCH(QString, hint);
        const std::vector<NicRecord> nics{{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2},
                                          {"lan2", "172.16.5.10", "255.255.0.0", "", 3}};
        const HeardDevice device{"00:08:DC:00:00:01", address.toStdString(), interfaceIndex};
        std::vector<HeardDevice> heard{device};
        for (const QString& other : others)
            heard.push_back({other.section(' ', 0, 0).toStdString(), other.section(' ', 1).toStdString(), 3});
        QCOMPARE(QString::fromStdString(DeviceHintText(device.address, FactsAbout(device, heard, nics))), hint);
    }
};

HOPTRACE_TEST(DatagramsTest)
#include "DatagramsTest.moc"
