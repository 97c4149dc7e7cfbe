#include "TestMain.h"

#include "common/AdapterTable.h"
#include "devices/AddressSpec.h"
#include "platform/DottedQuad.h"

#include <QTest>

// The addresses a user gives the search beyond its broadcast: what is read, what is refused
// and why, and the text it is stored as.
class AddressSpecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entries_data()
    {
        // stored: the canonical text of what was read, or the refusal.
        Columns<QString, bool, QString, int>("entry", "accepted", "stored", "count");
        Row("one address", QString("10.2.0.15"), true, QString("10.2.0.15"), 1);
        Row("commas and spaces, sorted, each once", QString(" 10.4.0.12 10.2.0.15,10.4.0.10-12,,\t10.2.0.15\n"), true,
            QString("10.2.0.15, 10.4.0.10-12"), 4);
        Row("/24", QString("10.3.1.0/24"), true, QString("10.3.1.0/24"), 256);
        Row("/22 is the widest", QString("10.3.0.0/22"), true, QString("10.3.0.0/22"), 1024);
        Row("/30 as a range", QString("10.3.1.4/30"), true, QString("10.3.1.4-7"), 4);
        Row("/32", QString("10.3.1.7/32"), true, QString("10.3.1.7"), 1);
        Row("two /24 make a /23", QString("10.3.1.0/24 10.3.0.0/24"), true, QString("10.3.0.0/23"), 512);
        Row("a run over a /24's end", QString("10.5.0.250-255 10.5.1.0-3"), true, QString("10.5.0.250-255, 10.5.1.0-3"),
            10);
        Row("a range of one", QString("10.4.0.10-10"), true, QString("10.4.0.10"), 1);
        Row("1,024 with overlaps", QString("10.3.0.0/22, 10.3.2.9, 10.3.1.0-255"), true, QString("10.3.0.0/22"), 1024);
        Row("empty", QString(" , "), true, QString(), 0);

        Row("/20", QString("10.3.1.0/20"), false, QString(R"("10.3.1.0/20": at most /22 (1,024 addresses))"), 0);
        Row("backwards", QString("10.4.0.40-10"), false, QString(R"("10.4.0.40-10": the range runs backwards)"), 0);
        Row("octet 256", QString("10.2.0.15 10.2.0.256"), false,
            QString(R"("10.2.0.256": not an address (four numbers 0-255 joined by "."))"), 0);
        Row("three numbers", QString("10.2.15"), false,
            QString(R"("10.2.15": not an address (four numbers 0-255 joined by "."))"), 0);
        Row("both / and -", QString("10.4.0.1-5/24"), false,
            QString(R"("10.4.0.1-5/24": not an address (four numbers 0-255 joined by "."))"), 0);
        Row("prefix 33", QString("10.3.1.0/33"), false,
            QString(R"("10.3.1.0/33": not a prefix (a number from 22 to 32 after "/"))"), 0);
        Row("no prefix", QString("10.3.1.0/"), false,
            QString(R"("10.3.1.0/": not a prefix (a number from 22 to 32 after "/"))"), 0);
        Row("host bits", QString("10.3.1.5/24"), false,
            QString(R"("10.3.1.5/24": not the start of a /24 (that is 10.3.1.0/24))"), 0);
        Row("range end 256", QString("10.4.0.10-256"), false,
            QString(R"("10.4.0.10-256": a range ends with a last octet 0-255 ("10.4.0.10-40"))"), 0);
        Row("range to an address", QString("10.4.0.10-10.4.0.40"), false,
            QString(R"("10.4.0.10-10.4.0.40": a range ends with a last octet 0-255 ("10.4.0.10-40"))"), 0);
        const QString unreachable = R"(: no device can be reached there (0.x.x.x, 127.x.x.x, 224.0.0.0 and above))";
        Row("loopback", QString("10.2.0.15, 127.0.0.1"), false, "\"127.0.0.1\"" + unreachable, 0);
        Row("network 0", QString("0.1.2.0/24"), false, "\"0.1.2.0/24\"" + unreachable, 0);
        Row("multicast", QString("224.0.0.1-9"), false, "\"224.0.0.1-9\"" + unreachable, 0);
        Row("limited broadcast", QString("255.255.255.255"), false, "\"255.255.255.255\"" + unreachable, 0);
        Row("below multicast", QString("223.255.255.254"), true, QString("223.255.255.254"), 1);
        Row("1,025", QString("10.3.0.0/22 10.9.0.1"), false, QString("more than 1,024 addresses"), 0);
    }
    void entries()
    {
        const auto [entry, accepted, stored, count] = Fetch<QString, bool, QString, int>("entry", "accepted", "stored",
                                                                                         "count");
        const AddressSpec::Parsed parsed = AddressSpec::Parse(entry.toStdString());
        QCOMPARE(parsed.accepted, accepted);
        QCOMPARE(int(parsed.addresses.size()), count);
        QCOMPARE(QString::fromStdString(accepted ? AddressSpec::CanonicalText(parsed.addresses) : parsed.refusal),
                 stored);
        QVERIFY(std::is_sorted(parsed.addresses.begin(), parsed.addresses.end()));
        // What is stored reads back as the same list.
        QVERIFY(AddressSpec::Parse(stored.toStdString()).addresses == parsed.addresses);
    }

    // Addresses on an adapter's network are the broadcast's; an adapter without a usable mask
    // (0.0.0.0 would hold every address) takes none.
    void onlyAddressesOffEveryAdapterAreKept()
    {
        const std::vector<NicRecord> nics{{"lan1", "192.168.1.10", "255.255.255.0", "", 2},
                                          {"lan2", "172.16.5.10", "255.255.0.0", "", 3},
                                          {"no mask", "10.9.0.5", "0.0.0.0", "", 4}};
        const auto parsed = AddressSpec::Parse("192.168.1.0/30 192.168.2.1 172.16.200.1 10.9.0.1 172.17.0.1");
        QCOMPARE(AddressSpec::CanonicalText(AddressSpec::OffEveryAdapterSubnet(parsed.addresses, nics)),
                 "10.9.0.1, 172.17.0.1, 192.168.2.1");
    }
};

HOPTRACE_TEST(AddressSpecTest)
#include "AddressSpecTest.moc"
