#include "TestMain.h"

#include "cli/CliArguments.h"
#include "cli/LogCommand.h"
#include "devices/AddressList.h"
#include "devices/DeviceListing.h"
#include "devices/SetupPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <iostream>
#include <sstream>

namespace {

// What `run` printed on standard output and standard error.
std::pair<std::string, std::string> Printed(const std::function<void()>& run)
{
    std::ostringstream out, err;
    std::streambuf* const oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* const oldErr = std::cerr.rdbuf(err.rdbuf());
    run();
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    return {out.str(), err.str()};
}

// "reboot 00:08:DC:1A:00:01 3s wait 30s", "list 5s json", "exit 2", ...
QString Describe(const CliRequest& r)
{
    static const char* const kVerbs[] = {"",         "list", "reboot", "defaults", "set-ip",
                                         "set-dhcp", "ping", "log",    "apply"};
    if (r.verb == CliVerb::None)
        return QStringLiteral("exit %1").arg(r.exitCode);
    QString text = QString(kVerbs[int(r.verb)]) + (r.target.empty() ? "" : " ") + r.target.c_str();
    if (r.verb == CliVerb::Ping)
        return text;
    static const char* const kFormats[] = {" text", " json", " csv", " csv file", " tsv", " plan"};
    const QString format = kFormats[int(r.format)];
    if (r.verb == CliVerb::Log)
        return text + (r.since.isValid() ? " since " + r.since.toUTC().toString(Qt::ISODate) : "")
            + (r.macFilter.empty() ? "" : " mac " + QString::fromStdString(r.macFilter)) + format;
    text += QStringLiteral(" %1s").arg(r.searchSeconds)
        + (r.searchAddresses.empty() ? "" : " search " + AddressList::CanonicalText(r.searchAddresses)).c_str();
    if (r.verb == CliVerb::List)
        return text + format;
    text += QStringLiteral(" wait %1s").arg(r.waitSeconds);
    const ExpectedSettings& e = r.expected;
    if (e.dhcp)
        text += *e.dhcp ? QStringLiteral(" dhcp")
                        : QString::fromStdString(" fixed " + e.address + ' ' + e.mask + ' ' + e.gateway + ' ' + e.dns);
    return e.port ? text + QStringLiteral(" port %1").arg(*e.port) : text;
}

const QString kFixed = QStringLiteral("--mask 255.0.0.0 --gateway 0.0.0.0 --dns 0.0.0.0");

const NicRecord kLan1{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2};

FoundDevice Found(const std::string& mac, const std::string& host, const std::string& address, int interfaceIndex)
{
    DeviceReply reply{mac, host, "DHCP", true, address, 80, "255.255.255.0", "192.168.1.1", "192.168.1.1", {}};
    return {reply, interfaceIndex, 0.2504, 2.0};
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What each command line asks for, or how it is refused: exit 0 with help on standard
    // output, exit 2 with the reason on standard error ("exit 2: " and a part of the reason).
    void arguments_data()
    {
        const auto row = Columns<QString, QString>("arguments", "result");
        row("no verb", "", "exit 2: Usage: hoptrace-cli VERB");
        row("overview", "--help", "exit 0: Exit codes: 0 success");
        row("verb help", "set-ip --help", "exit 0: set-ip [options]");
        row("unknown verb", "frobnicate", "exit 2: unknown verb \"frobnicate\"");
        row("list", "list", "list 3s text");
        row("list json", "list --seconds 5 --json", "list 5s json");
        row("list csv", "list --csv --seconds 0.5", "list 0.5s csv");
        row("list plan", "list --plan", "list 3s plan");
        row("json and csv", "list --json --csv", "exit 2: --json, --csv and --plan exclude each other");
        row("log", "log", "log text");
        row("log since a moment, one device, csv",
            "log --since 2024-05-01T14:00:00+02:00 --mac 00:08:dc:1a:00:01 --csv",
            "log since 2024-05-01T12:00:00Z mac 00:08:dc:1a:00:01 csv");
        row("log since a day", "log --since 2024-05-01 --json",
            "log since " + QDate(2024, 5, 1).startOfDay().toUTC().toString(Qt::ISODate) + " json");
        row("log since no date", "log --since 1.5.2024", "exit 2: --since needs a date as 2024-05-01");
        row("log, bad MAC", "log --mac 00:08", "exit 2: --mac needs six hex pairs");
        row("seconds too short", "list --seconds 0.4", "exit 2: --seconds must be a number from 0.5 to 3600");
        row("option of another verb", "list --port 80", "exit 2: 'port'");
        row("list with argument", "list 00:08:DC:1A:00:01", "exit 2: list takes no argument");
        row("search twice", "list --search 10.77.0.20 --search 10.3.1.0/24,10.4.0.10-12",
            "list 3s search 10.3.1.0/24, 10.4.0.10-12, 10.77.0.20 text");
        row("search too wide", "list --search 10.3.1.0/20",
            R"(exit 2: hoptrace-cli: --search: "10.3.1.0/20": at most /22 (1,024 addresses))");
        row("search, 1,024 in all", "list --search 10.3.0.0/23 --search 10.4.0.0/23,10.5.0.1",
            "exit 2: --search: more than 1,024 addresses");
        row("search for reboot", "reboot 00:08:DC:1A:00:01 --search 10.77.0.20",
            "reboot 00:08:DC:1A:00:01 3s search 10.77.0.20 wait 30s");
        row("reboot", "reboot 00:08:dc:1a:00:01", "reboot 00:08:dc:1a:00:01 3s wait 30s");
        row("address for a MAC", "reboot 192.168.1.20", "exit 2: \"192.168.1.20\" is not a MAC address");
        row("MAC missing", "reboot", "exit 2: reboot takes MAC");
        row("defaults, any MAC range", "defaults 00:0A:5B:20:00:04", "defaults 00:0A:5B:20:00:04 3s wait 30s");
        row("set-dhcp", "set-dhcp 00:08:DC:1A:00:02 --port 8080",
            "set-dhcp 00:08:DC:1A:00:02 3s wait 30s dhcp port 8080");
        row("set-dhcp, the device's port", "set-dhcp 00:08:DC:1A:00:02", "set-dhcp 00:08:DC:1A:00:02 3s wait 30s dhcp");
        row("MAC range without Set IP", "set-dhcp 00:0A:5B:20:00:04", "exit 2: does not begin with 00:08");
        row("port 0", "set-dhcp 00:08:DC:1A:00:01 --port 0", "exit 2: --port must be a whole number from 1 to 60000");
        row("port 60000", "set-dhcp 00:08:DC:1A:00:01 --port 60000",
            "set-dhcp 00:08:DC:1A:00:01 3s wait 30s dhcp port 60000");
        row("set-ip",
            "set-ip 00:08:DC:2B:00:06 --address 172.16.5.60 --mask 255.255.255.0 --gateway 172.16.5.1 --dns "
            "172.16.5.1 --port 80 --wait 15",
            "set-ip 00:08:DC:2B:00:06 3s wait 15s fixed 172.16.5.60 255.255.255.0 172.16.5.1 172.16.5.1 port 80");
        row("set-ip, leading zeros decimal", "set-ip 00:08:DC:2B:00:06 --address 010.001.002.099 " + kFixed,
            "set-ip 00:08:DC:2B:00:06 3s wait 30s fixed 10.1.2.99 255.0.0.0 0.0.0.0 0.0.0.0");
        row("set-ip without mask", "set-ip 00:08:DC:2B:00:06 --address 10.0.0.5 --gateway 0.0.0.0 --dns 0.0.0.0",
            "exit 2: --mask needs an address of four numbers 0-255, not \"\"");
        row("set-ip, octet 256", "set-ip 00:08:DC:2B:00:06 --address 10.0.0.256 " + kFixed,
            "exit 2: --address needs an address");
        for (const char* address : {"0.0.0.0", "0.1.2.3", "127.0.0.1", "224.0.0.1"})
            row(QByteArray("set-ip to ") + address,
                QStringLiteral("set-ip 00:08:DC:2B:00:06 --address %1 ").arg(address) + kFixed,
                QStringLiteral("exit 2: --address %1 is no address a device can be reached at").arg(address));
        row("ping", "ping 192.168.1.125", "ping 192.168.1.125");
        row("ping, no address", "ping", "exit 2: ping takes ADDRESS");
        row("ping, no search", "ping 192.168.1.125 --seconds 2", "exit 2: 'seconds'");
    }
    void arguments()
    {
        const auto [arguments, result] = Fetch<QString, QString>("arguments", "result");
        CliRequest request;
        const auto [out, err] = Printed(
            [&] { request = ParseCliArguments(("hoptrace-cli " + arguments).trimmed().split(' ')); });
        const bool exits = result.startsWith("exit ");
        QCOMPARE(Describe(request), exits ? result.section(": ", 0, 0) : result);
        const bool refused = request.exitCode != ExitOk;
        const std::string says = exits ? result.section(": ", 1).toStdString() : "";
        QVERIFY2((refused ? err : out).find(says) != std::string::npos, (out + err).c_str());
        QVERIFY2((refused ? out : err).empty(), (out + err).c_str());
    }

    // A host name's bytes in each format: the PC's code page into the JSON value and the UTF-8 of
    // the CSV, with its quoting and formula guard. (JSON's own escapes are Qt's writer's.)
    void hostNameInEachFormat_data()
    {
        const auto row = Columns<QByteArray, QString, QByteArray>("host", "jsonValue", "csvField");
        row("plain", "WS-1", "WS-1", "WS-1");
        row("empty", {}, {}, {});
        row("comma", "a,b", "a,b", R"("a,b")");
        row("quotes", R"(WS "B" lab)", R"(WS "B" lab)", R"("WS ""B"" lab")");
        row("line break", "a\r\nb", "a\r\nb", "\"a\r\nb\"");
        // 0x93 and 0x94 are the code page's quotation marks, not the C1 controls U+0093/U+0094.
        row("code page quotes", "\x93Hall\x94", QString::fromUtf16(u"\u201CHall\u201D"),
            QByteArray("\xE2\x80\x9CHall\xE2\x80\x9D"));
        row("formula", "@SUM(1,2)", "@SUM(1,2)", "\"'@SUM(1,2)\"");
    }
    void hostNameInEachFormat()
    {
        const auto [host, csvField] = Fetch<QByteArray, QByteArray>("host", "csvField");
        const auto devices = ListDevices({Found("00:08:DC:00:00:01", host.toStdString(), "192.168.1.20", 2)}, {kLan1});
        const QByteArray json = QByteArray::fromStdString(FormatListing(devices, ListingFormat::Json));
        QTEST(QJsonDocument::fromJson(json).array().at(0)[QStringLiteral("host_name")].toString(), "jsonValue");
        const QByteArray csv = QByteArray::fromStdString(FormatListing(devices, ListingFormat::Csv));
        const QByteArray row = csv.mid(csv.indexOf("\r\n") + 2);
        QVERIFY2(row.startsWith("00:08:DC:00:00:01," + csvField + ",DHCP,") && row.endsWith("\r\n"), csv.constData());
    }

    // The copied, saved and plan forms: the CSV's columns and guard on the clipboard with one row
    // per device whatever a value holds, the saved file's byte order mark, a file saved whole or
    // not at all, and a plan that reads back as the devices stand.
    void copiedSavedAndPlanForms()
    {
        FoundDevice fixed = Found("00:08:DC:00:00:01", "=HYPERLINK(\"x\")\tA\r\nB", "192.168.1.20", 2);
        fixed.reply.dhcp = false;
        fixed.reply.assignment = "Static";
        FoundDevice unknown = Found("00:08:DC:00:00:02", "", "192.168.1.21", 2);
        unknown.reply.dhcp = std::nullopt;
        const FoundDevice dhcp = Found("00:08:DC:00:00:03", "-", "192.168.1.22", 2);
        const auto devices = ListDevices({fixed, dhcp}, {kLan1});
        const std::string csv = FormatListing(devices, ListingFormat::Csv);
        QVERIFY2(csv.find(",\"'=HYPERLINK(\"\"x\"\")\tA\r\nB\",Static,") != std::string::npos, csv.c_str());
        QVERIFY2(csv.find("\r\n00:08:DC:00:00:03,'-,DHCP,") != std::string::npos, csv.c_str());
        QCOMPARE(FormatListing(devices, ListingFormat::CsvFile), "\xEF\xBB\xBF" + csv);
        const QStringList tsv = QString::fromStdString(FormatListing(devices, ListingFormat::Tsv)).split('\n');
        QCOMPARE(tsv.size(), 4);
        QCOMPARE(tsv[0], QString::fromStdString(csv.substr(0, csv.find('\r'))).replace(',', '\t'));
        QVERIFY2(tsv[1].startsWith("00:08:DC:00:00:01\t'=HYPERLINK(\"x\") A  B\tStatic\t"), qPrintable(tsv[1]));

        QTemporaryDir dir;
        QVERIFY(!SaveListFile(dir.filePath("fleet.csv"), csv)); // saved whole: ListExportTest reads it back
        QVERIFY(!SaveListFile(dir.filePath("fleet.csv/inside.csv"), csv).value_or("").empty());

        const std::string planText = FormatListing(ListDevices({fixed, unknown, dhcp}, {kLan1}), ListingFormat::Plan);
        const SetupPlan plan = SetupPlan::Read(planText);
        QCOMPARE(plan.problems().size(), std::size_t(1));
        QCOMPARE(plan.problems()[0].line, 3);
        const ExpectedSettings& first = plan.rows()[0].settings;
        QCOMPARE(first.dhcp, std::optional(false));
        QCOMPARE(QString::fromStdString(first.address + ' ' + first.gateway), "192.168.1.20 192.168.1.1");
        QCOMPARE(first.port, std::optional(80));
        QCOMPARE(plan.rows()[2].settings.dhcp, std::optional(true));
    }

    // `log`: the table, and a damaged line counted on standard error.
    void logPrinted()
    {
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath("log.jsonl"),
                          R"({"id":"a","kind":"sent","time":"2024-05-01T09:30:00+02:00","command":"set-dhcp",)"
                          R"("mac":"00:08:DC:00:00:01","sent":{"assignment":"dhcp","port":80}})"
                          "\n{\"id\":\"b\",\"kind\n"));
        const auto [out, err] = Printed(
            [&] { PrintCommissioningLog(dir.filePath("log.jsonl"), ListingFormat::Text, {}, ""); });
        QVERIFY2(err.find("1 damaged line(s)") != std::string::npos, err.c_str());
        const std::string row = out.substr(out.find('\n') + 1);
        QVERIFY2(row.starts_with("2024-05-01T09:30:00+02:00  ") && row.ends_with("dhcp :80  (none yet)\n"),
                 out.c_str());
    }

    // Empty values, an unknown adapter, shared addresses and a device off its adapter's network:
    // the same keys in every JSON object and every CSV row, and the same values in both.
    void everyRecordCarriesEveryKey()
    {
        // Heard on interface 9, which no searched adapter has.
        const FoundDevice bare{
            {"00:08:DC:00:00:02", "", "", std::nullopt, "192.168.1.20", 0, "", "", "", {}}, 9, 0.2504, 2};
        FoundDevice full = Found("00:08:DC:00:00:01", "WS-A", "192.168.1.20", 2);
        full.reply.extra = {{"Firmware", "1.2"}, {"Model", "T=4; rev b"}};
        const auto devices = ListDevices({full, bare, Found("00:08:DC:00:00:03", "WS-C", "192.168.0.100", 2)}, {kLan1});
        const QStringList expected{
            "00:08:DC:00:00:01 192.168.1.20:80 dns 192.168.1.1 nic 1 lan1 192.168.1.10/24 no yes 00:08:DC:00:00:02 "
            "Firmware=1.2; Model=T=4; rev b",
            "00:08:DC:00:00:02 192.168.1.20:0 dns  nic    no yes 00:08:DC:00:00:01 ",
            "00:08:DC:00:00:03 192.168.0.100:80 dns 192.168.1.1 nic 1 lan1 192.168.1.10/24 yes no  "};
        const auto summary = [](const std::function<QString(const char*)>& field) {
            QString text = field("mac") + ' ' + field("address") + ':' + field("port") + " dns " + field("dns")
                + " nic";
            for (const char* key :
                 {"nic", "nic_name", "nic_address", "subnet_mismatch", "duplicate_address", "same_address_as", "extra"})
                text += ' ' + field(key);
            return text;
        };
        const QJsonArray json =
            QJsonDocument::fromJson(QByteArray::fromStdString(FormatListing(devices, ListingFormat::Json))).array();
        QStringList fromJson;
        for (const QJsonValue& device : json) {
            QCOMPARE(device.toObject().keys(), json.at(0).toObject().keys());
            QCOMPARE(device[QStringLiteral("first_heard_s")].toDouble(), 0.25); // whole milliseconds
            fromJson += summary([&](const char* key) {
                const QJsonValue value = device[QLatin1String(key)];
                const QJsonObject object = value.toObject();
                QStringList extra;
                for (auto it = object.begin(); it != object.end(); ++it)
                    extra += it.key() + '=' + it.value().toString();
                return value.isBool()  ? QString(value.toBool() ? "yes" : "no")
                    : value.isDouble() ? QString::number(value.toInt())
                    : value.isArray()  ? value.toVariant().toStringList().join(' ')
                    : value.isObject() ? extra.join(QStringLiteral("; "))
                                       : value.toString(); // null: no adapter
            });
        }
        QCOMPARE(fromJson, expected);
        QStringList lines = QString::fromStdString(FormatListing(devices, ListingFormat::Csv)).split("\r\n");
        QCOMPARE(lines.takeLast(), QString());
        const QStringList header = lines.takeFirst().split(',');
        QCOMPARE(header.size(), json.at(0).toObject().size());
        QStringList fromCsv;
        for (const QString& line : lines) {
            const QStringList fields = line.split(',');
            QCOMPARE(fields.size(), header.size());
            QCOMPARE(fields[header.indexOf("first_heard_s")], QString("0.250"));
            fromCsv += summary([&](const char* key) { return fields[header.indexOf(QLatin1String(key))]; });
        }
        QCOMPARE(fromCsv, expected);
    }
};

HOPTRACE_TEST(CliTest)
#include "CliTest.moc"
