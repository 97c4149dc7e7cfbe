#include "TestMain.h"

#include "devices/AddressList.h"

// The addresses a user gives the search beyond its broadcast: what is read, what is refused
// and why, and the text it is stored as.
class AddressListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entries_data()
    {
        // stored: the canonical text of what was read, or the refusal (of the whole entry).
        const auto row = Columns<QString, bool, QString, int>("entry", "accepted", "stored", "count");
        const auto refuse = [&](const char* name, const char* entry, const char* part, const QString& why) {
            row(name, entry, false, QStringLiteral("\"%1\": ").arg(part) + why, 0);
        };
        row("one address", "10.2.0.15", true, "10.2.0.15", 1);
        row("commas and spaces, sorted, each once", " 10.4.0.12 10.2.0.15,10.4.0.10-12,,\t10.2.0.15\n", true,
            "10.2.0.15, 10.4.0.10-12", 4);
        row("/22 is the widest", "10.3.0.0/22", true, "10.3.0.0/22", 1024);
        row("/30 as a range, /32", "10.3.1.4/30 10.3.1.9/32", true, "10.3.1.4-7, 10.3.1.9", 5);
        row("two /24 make a /23", "10.3.1.0/24 10.3.0.0/24", true, "10.3.0.0/23", 512);
        row("a run over a /24's end", "10.5.0.250-255 10.5.1.0-3", true, "10.5.0.250-255, 10.5.1.0-3", 10);
        row("1,024 with overlaps", "10.3.0.0/22, 10.3.2.9, 10.3.1.0-255", true, "10.3.0.0/22", 1024);
        row("below multicast", "223.255.255.254", true, "223.255.255.254", 1);
        row("empty", " , ", true, "", 0);
        const QString notAnAddress = R"(not an address (four numbers 0-255 joined by "."))";
        const QString noPrefix = R"(not a prefix (a number from 22 to 32 after "/"))";
        const QString rangeEnd = R"(a range ends with a last octet 0-255 ("10.4.0.10-40"))";
        const QString unreachable = "no device can be reached there (0.x.x.x, 127.x.x.x, 224.0.0.0 and above)";
        refuse("/20", "10.3.1.0/20", "10.3.1.0/20", "at most /22 (1,024 addresses)");
        refuse("backwards", "10.4.0.40-10", "10.4.0.40-10", "the range runs backwards");
        refuse("octet 256", "10.2.0.15 10.2.0.256", "10.2.0.256", notAnAddress);
        refuse("both / and -", "10.4.0.1-5/24", "10.4.0.1-5/24", notAnAddress);
        refuse("prefix 33", "10.3.1.0/33", "10.3.1.0/33", noPrefix);
        refuse("host bits", "10.3.1.5/24", "10.3.1.5/24", "not the start of a /24 (that is 10.3.1.0/24)");
        refuse("range end 256", "10.4.0.10-256", "10.4.0.10-256", rangeEnd);
        refuse("loopback", "10.2.0.15, 127.0.0.1", "127.0.0.1", unreachable);
        refuse("network 0", "0.1.2.0/24", "0.1.2.0/24", unreachable);
        refuse("multicast", "224.0.0.1-9", "224.0.0.1-9", unreachable);
        row("1,025", "10.3.0.0/22 10.9.0.1", false, "more than 1,024 addresses", 0);
    }
    void entries()
    {
        const auto [entry, accepted, stored, count] = Fetch<QString, bool, QString, int>("entry", "accepted", "stored",
                                                                                         "count");
        const AddressList::Parsed parsed = AddressList::Parse(entry.toStdString());
        QCOMPARE(parsed.accepted, accepted);
        QCOMPARE(int(parsed.addresses.size()), count);
        QCOMPARE(QString::fromStdString(accepted ? AddressList::CanonicalText(parsed.addresses) : parsed.refusal),
                 stored);
        QVERIFY(std::is_sorted(parsed.addresses.begin(), parsed.addresses.end()));
        // What is stored reads back as the same list.
        QVERIFY(AddressList::Parse(stored.toStdString()).addresses == parsed.addresses);
    }
};

HOPTRACE_TEST(AddressListTest)
#include "AddressListTest.moc"
