#include "TestMain.h"

#include "webserver/SetupDatagrams.h"

#include <QTest>

#include <string>

namespace {

const std::string Mac = "00:08:DC:12:34:56";

QByteArray raw(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// Prefix, keyword, "|", the value bytes as they are, and the closing "|".
QByteArray request(const char* keyword, std::initializer_list<int> values)
{
    QByteArray out = QByteArray("TAVIKwebserver|") + keyword + '|';
    for (int value : values)
        out += static_cast<char>(value);
    return out + '|';
}

QByteArray setDHCP(const char* port, const std::string& mac) { return raw(TavikSetup::SetDHCPRequest(port, mac)); }

QByteArray setIP(const TavikSetup::OctetBoxTexts& boxes, const char* port, const std::string& mac)
{
    return raw(TavikSetup::SetIPRequest(boxes, port, mac));
}

// What the two readers make of a datagram.
QString parsed(const QByteArray& datagram)
{
    const std::string_view view(datagram.constData(), static_cast<std::size_t>(datagram.size()));
    const auto tail = [](const TavikSetup::MacTail& t) {
        return QString::asprintf("%02X:%02X:%02X", t[0], t[1], t[2]);
    };
    const auto dotted = [](const TavikSetup::Octets& o) { return QString::fromStdString(TavikSetup::DottedText(o)); };
    QStringList found;
    if (const auto ip = TavikSetup::ParseSetIP(view))
        found << QString("SetIP %1 %2:%3 mask %4 gw %5 dns %6")
                     .arg(tail(ip->macTail), dotted(ip->address))
                     .arg(ip->port)
                     .arg(dotted(ip->mask), dotted(ip->gateway), dotted(ip->dns));
    if (const auto dhcp = TavikSetup::ParseSetDHCP(view))
        found << QString("SetDHCP %1 port %2").arg(tail(dhcp->macTail)).arg(dhcp->port);
    return found.isEmpty() ? QString("rejected") : found.join(" and ");
}

} // namespace

class SetupDatagramsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void builds_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("SetDHCP worked example")
            << setDHCP("8080", Mac) << request("SetDHCP", {0x12, 0x34, 0x56, 0x1F, 0x90});
        QTest::newRow("SetIP worked example")
            << setIP({"192", "168", "1", "20", "255", "255", "255", "0", "192", "168", "1", "1", "8", "8", "8", "8"},
                     "80", Mac)
            << request("SetIP", {0x12, 0x34, 0x56, 0xC0, 0xA8, 0x01, 0x14, 0x00, 0x50, 0xFF, 0xFF,
                                 0xFF, 0x00, 0xC0, 0xA8, 0x01, 0x01, 0x08, 0x08, 0x08, 0x08});
        QTest::newRow("port 60000") << setDHCP("60000", Mac) << request("SetDHCP", {0x12, 0x34, 0x56, 0xEA, 0x60});
        QTest::newRow("empty port") << setDHCP("", Mac) << request("SetDHCP", {0x12, 0x34, 0x56, 0x00, 0x00});
        QTest::newRow("lower-case MAC hex")
            << setDHCP("80", "00:08:dc:ab:cd:ef") << request("SetDHCP", {0xAB, 0xCD, 0xEF, 0x00, 0x50});
        QTest::newRow("MAC hex stops at the first non-hex character")
            << setDHCP("80", "00:08:DC:1G:G1:A-") << request("SetDHCP", {0x01, 0x00, 0x0A, 0x00, 0x50});
        QTest::newRow("empty box 0, halves to the even neighbour")
            << setIP({"", "2.5", "3.5", "1", "255", "255", "255", "", "1", "1", "1", "1", "1", "1", "1", "1"}, "80",
                     Mac)
            << request("SetIP", {0x12, 0x34, 0x56, 0, 2, 4, 1, 0x00, 0x50, 255, 255, 255, 0, 1, 1, 1, 1, 1, 1, 1, 1});
        QTest::newRow("value bytes | and 0 not escaped")
            << setIP({"124", "0", "124", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "124"}, "124",
                     "00:08:DC:7C:00:7c")
            << request("SetIP", {124, 0, 124, 124, 0, 124, 0, 0, 124, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 124});
    }
    void builds()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built, expected);
    }

    void parses_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("fields");
        const QByteArray setIP = request(
            "SetIP", {0x7C, 0x00, 0xFF, 192, 168, 124, 0, 0xEA, 0x60, 255, 255, 0, 0, 192, 168, 1, 1, 8, 8, 4, 4});
        QTest::newRow("SetIP") << setIP
                               << "SetIP 7C:00:FF 192.168.124.0:60000 mask 255.255.0.0 gw 192.168.1.1 dns 8.8.4.4";
        QTest::newRow("SetDHCP") << request("SetDHCP", {0x12, 0x34, 0x56, 0x1F, 0x90}) << "SetDHCP 12:34:56 port 8080";
        QTest::newRow("one byte short") << setIP.chopped(1) << "rejected";
        QTest::newRow("one byte long") << setIP + '|' << "rejected";
        QTest::newRow("no closing bar") << setIP.chopped(1) + 'x' << "rejected";
        QTest::newRow("prefix in other case") << "tavikwebserver|" + setIP.mid(15) << "rejected";
        QTest::newRow("SetIP's length, other keyword")
            << request("SetIX", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) << "rejected";
    }
    void parses()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, fields);
        QCOMPARE(parsed(datagram), fields);
    }
};

HOPTRACE_TEST(SetupDatagramsTest)
#include "SetupDatagramsTest.moc"
