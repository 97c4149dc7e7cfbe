#include "TestMain.h"

#include "devices/AddressList.h"
#include "devices/SetupPlan.h"

namespace {
// "2 00:08:DC:00:00:01 dhcp :80", "4 ... fixed 10.1.2.3/255.0.0.0 gw 0.0.0.0 dns 10.0.0.53 :8080"
QString Described(const PlanRow& row)
{
    const ExpectedSettings& s = row.settings;
    const std::string fixed = " fixed " + s.address + '/' + s.mask + " gw " + s.gateway + " dns " + s.dns;
    return QString::fromStdString(std::to_string(row.line) + ' ' + row.mac + (*s.dhcp ? " dhcp" : fixed) + " :"
                                  + std::to_string(*s.port));
}

const QByteArray kHeader = "mac,assignment,address,mask,gateway,dns,port\n";
} // namespace

// What a user writes for the engine, read or refused with the reason: the addresses the search is
// given beyond its broadcast (and the text they are stored as), and a set-up plan.
class UserTextTest : public QObject {
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

    // A plan read into rows, or every problem it has with its line (0: the plan as a whole).
    void read_data()
    {
        const auto row = Columns<QByteArray, QStringList>("plan", "expected");
        row("dhcp row, only mac and port", "mac,Assignment,port\n00:08:DC:00:00:01,DHCP,80\n",
            {"2 00:08:DC:00:00:01 dhcp :80"});
        row("a spreadsheet's saving: BOM, CRLF, ;, quotes, comments, empty rows",
            QByteArray("\xEF\xBB\xBF# fleet of hall 2\r\nMAC; assignment;address;mask;gateway;dns;port\r\n;;;;;;\r\n"
                       "\"00:08:dc:00:00:02\";fixed;010.1.2.3;255.0.0.0;0.0.0.0;\"10.0.0.53\";8080\r\n\r\n"
                       "# \"a comment, with a quote\r\n00:08:DC:00:00:03;fixed;10.1.2.4;255.255.255.0;10.1.2.1;"
                       "0.0.0.0;60000"),
            QStringList{"4 00:08:dc:00:00:02 fixed 10.1.2.3/255.0.0.0 gw 0.0.0.0 dns 10.0.0.53 :8080",
                        "7 00:08:DC:00:00:03 fixed 10.1.2.4/255.255.255.0 gw 10.1.2.1 dns 0.0.0.0 :60000"});
        row("no header", "00:08:DC:00:00:01,dhcp,80\n", {"1: a header row naming the columns comes first"});
        row("header only", QByteArray("# nothing yet\n") + kHeader, {"0: the plan lists no device"});
        row("empty", "\xEF\xBB\xBF", {"0: the plan is empty"});
        row("a column misspelt, one missing", "mac,assignment,gatway\n00:08:DC:00:00:01,dhcp,1\n",
            {"1: unknown column \"gatway\"", "1: the header has no column \"port\""});
        row("a quote never closed", "mac,assignment,port\n00:08:DC:00:00:01,dhcp,\"80\n",
            {"2: a quote opened on this line is never closed", "2: port must be a whole number"});
        row("every check at once",
            kHeader
                + "00:08:DC:00:00:0G,dhcp,,,,,80\n"
                  "00:08:DC:00:00:01,dhcp,,,,,80\n"
                  "00:08:dc:00:00:01,dhcp,,,,,80\n"
                  "00:0A:5B:00:00:01,fixed,10.0.0.9,255.255.255.0,0.0.0.0,0.0.0.0,80\n"
                  "00:08:DC:00:00:02,fixed,127.0.0.1,255.0.0.0,0.0.0.0,0.0.0.0,80\n"
                  "00:08:DC:00:00:03,fixed,10.0.0.8,255.0.255.0,0.0.0.0,0.0.0.0,80\n"
                  "00:08:DC:00:00:04,fixed,10.0.0.10,255.255.255.0,10.0.1.1,0.0.0.0,80\n"
                  "00:08:DC:00:00:05,fixed,10.0.0.10,255.255.255.0,10.0.0.1,0.0.0.0,0\n"
                  "00:08:DC:00:00:06,static,,,,,80,x\n"
                  "00:08:DC:00:00:07,fixed,10.0.0.300,255.255.255.0,,0.0.0.0,70000\n",
            QStringList{"2: \"00:08:DC:00:00:0G\" is not a MAC address", "4: MAC 00:08:dc:00:00:01 is also on line 3",
                        "5: 00:0A:5B:00:00:01 does not take IP settings",
                        "6: address 127.0.0.1 is no address a device can be reached at",
                        "7: mask 255.0.255.0 is not contiguous",
                        "8: gateway 10.0.1.1 is outside the subnet of 10.0.0.10/24",
                        "9: port 0 would leave the device unreachable", "9: address 10.0.0.10 is also on line 8",
                        "10: 8 values, but the header names 7 columns",
                        "10: assignment must be \"dhcp\" or \"fixed\", not \"static\"",
                        "11: port must be a whole number from 1 to 60000, not \"70000\"",
                        "11: address needs four numbers 0-255", "11: gateway needs four numbers 0-255"});
    }
    void read()
    {
        const auto [text, expected] = Fetch<QByteArray, QStringList>("plan", "expected");
        const SetupPlan plan = SetupPlan::Read(text.toStdString());
        QStringList got;
        for (const PlanProblem& problem : plan.problems())
            got += QString::number(problem.line) + ": " + QString::fromStdString(problem.text);
        if (got.isEmpty())
            for (const PlanRow& row : plan.rows())
                got += Described(row);
        QCOMPARE(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(got[i].startsWith(expected[i]), qPrintable(got.join('\n')));
    }
};

HOPTRACE_TEST(UserTextTest)
#include "UserTextTest.moc"
