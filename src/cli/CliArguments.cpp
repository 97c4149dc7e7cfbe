#include "CliArguments.h"
#include "LogCommand.h"

#include "platform/DottedQuad.h"
#include "devices/AddressList.h"
#include "devices/Datagrams.h"
#include "devices/CommissioningLog.h"
#include "devices/SetupDatagrams.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <iostream>

namespace {

const char* const kOverview = R"(Finds the Tavik webservers on every adapter of this PC and manages them, as the
Hoptrace window does, for scripts.

Verbs:
  list                 search every adapter and print one record per device
  reboot MAC           reboot a device, then check it comes back
  defaults MAC         restore a device's defaults, then check it comes back
  set-ip MAC ...       give a device a fixed configuration, then check it took it
  set-dhcp MAC         switch a device to DHCP, then check it took it
  ping ADDRESS         tell whether an address is free for a new device
  apply PLAN.csv       set up every device of a plan, each checked as set-ip checks it
  log                  print the commissioning log: every command sent, and how it ended

"hoptrace-cli VERB --help" describes each verb.

Exit codes: 0 success (ping: free); 1 device not found, command not applied
(ping: in use); 2 bad arguments (ping: no address); 3 UDP port 8080 in use.
Results go to standard output, messages to standard error.

Examples:
  hoptrace-cli list
  hoptrace-cli list --seconds 5 --json > fleet.json
  hoptrace-cli list --csv > fleet.csv
  hoptrace-cli list --plan > plan.csv
  hoptrace-cli list --search 10.77.0.20 --search "10.3.1.0/24, 10.4.0.10-40"
  hoptrace-cli reboot 00:08:DC:1A:00:01
  hoptrace-cli set-ip 00:08:DC:2B:00:06 --address 172.16.5.60 --mask 255.255.255.0 \
      --gateway 172.16.5.1 --dns 172.16.5.1 --port 80
  hoptrace-cli set-dhcp 00:08:DC:1A:00:02 --port 8080
  hoptrace-cli ping 192.168.1.125 && echo free
  hoptrace-cli log --since 2024-05-01 --mac 00:08:DC:1A:00:01
)";

struct VerbHelp {
    const char* name;
    const char* arguments;
    const char* description;
};

const VerbHelp kVerbs[] = {
    {"list", "",
     "Searches every adapter (the list request once a second) and prints each device that\n"
     "answered: MAC, host name, IP assignment, address, port, mask, gateway, DNS, further\n"
     "labelled values, the adapter its reply arrived on, when it was first and last heard\n"
     "(seconds after the search began), and its flags: subnet-mismatch (its address is\n"
     "off that adapter's network), duplicate-address (another MAC answered with the\n"
     "same address) and reached-by-address (it answered a --search address on none of the\n"
     "adapters' networks). Names the searched adapters when nothing answers. In CSV a value\n"
     "that begins with =, +, - or @ is written with a leading ' so that no spreadsheet runs it.\n"
     "--plan prints the devices as a set-up plan (mac, assignment, address, mask, gateway,\n"
     "dns, port) to edit and apply.\n"
     "A broadcast stops at the first router: --search asks devices beyond it by unicast,\n"
     "once a second each. SPEC: addresses (10.2.0.15), CIDR blocks up to /22 (10.3.1.0/24)\n"
     "and last-octet ranges (10.4.0.10-40), separated by commas or spaces, at most 1,024\n"
     "addresses in all; those on an adapter's network are left to the broadcast.\n"
     "Examples: hoptrace-cli list --json | jq '.[] | select(.duplicate_address)'\n"
     "          hoptrace-cli list --search 10.77.0.20 --search \"10.3.1.0/24, 10.4.0.10-40\""},
    {"reboot", "MAC",
     "Finds the device, sends it Reboot twice at its own address as the window does, and\n"
     "searches until it answers again: \"applied\", \"not seen after N s\" or \"seen with other\n"
     "settings\". Example: hoptrace-cli reboot 00:08:DC:1A:00:01"},
    {"defaults", "MAC",
     "Finds the device, sends it Default at its own address, and searches until it answers\n"
     "again. Example: hoptrace-cli defaults 00:08:DC:1A:00:01"},
    {"set-ip", "MAC",
     "Finds the device and broadcasts SetIP out of every adapter three times, one second\n"
     "apart, as the IP setup panel does; then searches until the device answers with the\n"
     "new settings. Addresses are four decimal numbers 0-255; 0.0.0.0 is refused as an\n"
     "address, and the port must be 1 to 60000 (default: the device's port). Only devices\n"
     "whose MAC begins with 00:08 take IP settings.\n"
     "Example: hoptrace-cli set-ip 00:08:DC:1A:00:01 --address 192.168.1.60 \\\n"
     "    --mask 255.255.255.0 --gateway 192.168.1.1 --dns 192.168.1.1 --port 80"},
    {"set-dhcp", "MAC",
     "Finds the device and broadcasts SetDHCP as the IP setup panel does, then searches until\n"
     "it answers with DHCP and the port. Example: hoptrace-cli set-dhcp 00:08:DC:1A:00:02"},
    {"ping", "ADDRESS",
     "Tells whether an address is free for a new device: an echo within two hops, or, on\n"
     "one of this PC's subnets, a host that answers ARP asked right after the echo\n"
     "while ignoring the echo, means in use. Exit code 0 free, 1 in use, 2 not an address.\n"
     "Example: hoptrace-cli ping 192.168.1.125"},
    {"apply", "PLAN.csv",
     "Sets up every device of a plan: one row per device with the columns mac, assignment\n"
     "(dhcp or fixed), address, mask, gateway, dns and port, under a header row; lines\n"
     "starting with # are comments, and a spreadsheet's CSV (byte order mark, CR LF, \";\") is\n"
     "read too. The whole plan is checked first: any problem is listed by its line, exit 2,\n"
     "and nothing is sent. Then one search, and each row in order: \"applied\", \"not found\",\n"
     "\"unchanged\" (it has the plan's values: nothing is sent) or why it was not applied.\n"
     "Exit 0 when every row is applied or unchanged, 1 otherwise. --dry-run prints what\n"
     "would be sent and sends nothing. \"hoptrace-cli list --plan\" writes a plan to start from.\n"
     "Example: hoptrace-cli list --plan > plan.csv; hoptrace-cli apply plan.csv --dry-run"},
    {"log", "",
     "Prints the commissioning log that the window and hoptrace-cli append to: each command\n"
     "(reboot, load-defaults, set-ip, set-dhcp) with its time, program, PC, user, adapter,\n"
     "the device, its values before and the values sent, and its outcome (confirmed,\n"
     "seen-new-values, seen-other-values, not-seen, cancelled) once known. Damaged lines\n"
     "are skipped and counted on standard error; the log is only read.\n"
     "Example: hoptrace-cli log --since 2024-05-01 --csv > work.csv"},
};

int Refuse(const QString& message)
{
    std::cerr << "hoptrace-cli: " << message.toStdString() << "\n";
    return ExitBadArguments;
}

// Nothing to run: help was printed, or the arguments were refused.
CliRequest Ended(int exitCode)
{
    CliRequest request;
    request.exitCode = exitCode;
    return request;
}

CliRequest Refused(const QString& message) { return Ended(Refuse(message)); }

// A MAC address as the devices write it: six pairs of hex digits joined by ":".
bool IsMac(const QString& text)
{
    static const QRegularExpression mac(QStringLiteral("^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){5}$"));
    return mac.match(text).hasMatch();
}

ListingFormat FormatAsked(const QCommandLineParser& parser)
{
    return parser.isSet(QStringLiteral("json")) ? ListingFormat::Json
        : parser.isSet(QStringLiteral("csv"))   ? ListingFormat::Csv
                                                : ListingFormat::Text;
}

// A day from its start in local time, or a moment (local time unless it names its offset).
QDateTime SinceTime(const QString& text)
{
    // QDate reads the date of a date and time too, so the length tells them apart.
    if (text.size() == 10)
        return QDate::fromString(text, Qt::ISODate).startOfDay();
    return QDateTime::fromString(text, Qt::ISODate);
}

CliRequest LogRequest(const QCommandLineParser& parser, const QCommandLineOption& since, const QCommandLineOption& mac)
{
    if (parser.isSet(QStringLiteral("json")) && parser.isSet(QStringLiteral("csv")))
        return Refused(QStringLiteral("--json and --csv exclude each other"));
    CliRequest request;
    request.verb = CliVerb::Log;
    request.format = FormatAsked(parser);
    if (parser.isSet(since)) {
        request.since = SinceTime(parser.value(since));
        if (!request.since.isValid())
            return Refused(QStringLiteral("--since needs a date as 2024-05-01 or 2024-05-01T14:00, not \"%1\"")
                               .arg(parser.value(since)));
    }
    if (parser.isSet(mac) && !IsMac(parser.value(mac)))
        return Refused(QStringLiteral("--mac needs six hex pairs joined by \":\", not \"%1\"").arg(parser.value(mac)));
    request.macFilter = parser.value(mac).toStdString();
    return request;
}

} // namespace

CliRequest ParseCliArguments(const QStringList& arguments)
{
    const QString verb = arguments.value(1);
    if (verb.isEmpty() || verb == QLatin1String("--help") || verb == QLatin1String("-h")
        || verb == QLatin1String("help")) {
        // Asked for, it is the result; without a verb, the reason for refusing.
        (verb.isEmpty() ? std::cerr : std::cout) << "Usage: hoptrace-cli VERB [options]\n\n" << kOverview;
        return Ended(verb.isEmpty() ? ExitBadArguments : ExitOk);
    }
    const VerbHelp* help = nullptr;
    for (const VerbHelp& candidate : kVerbs)
        if (verb == QLatin1String(candidate.name))
            help = &candidate;
    if (!help)
        return Refused(QStringLiteral("unknown verb \"%1\" (see hoptrace-cli --help)").arg(verb));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(help->description));
    parser.addHelpOption();
    if (*help->arguments)
        parser.addPositionalArgument(QString::fromLatin1(help->arguments),
                                     verb == QLatin1String("ping")
                                         ? QStringLiteral("the address to test")
                                         : QStringLiteral("the device's MAC address, e.g. 00:08:DC:1A:00:01"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("How long to search (default 3)."),
                                     QStringLiteral("S"), QStringLiteral("3"));
    const QCommandLineOption wait(QStringLiteral("wait"),
                                  QStringLiteral("How long to look for the device after the command (default 30)."),
                                  QStringLiteral("S"), QStringLiteral("30"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("One JSON array."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("CSV with a header row (RFC 4180)."));
    const QCommandLineOption plan(QStringLiteral("plan"), QStringLiteral("The devices as a set-up plan (CSV)."));
    const QCommandLineOption since(QStringLiteral("since"),
                                   QStringLiteral("Only commands sent on or after DATE (2024-05-01, or a date and "
                                                  "time as 2024-05-01T14:00)."),
                                   QStringLiteral("DATE"));
    const QCommandLineOption macFilter(QStringLiteral("mac"), QStringLiteral("Only commands to this device."),
                                       QStringLiteral("MAC"));
    const QCommandLineOption search(
        QStringLiteral("search"),
        QStringLiteral(
            "Also ask these addresses by unicast (repeatable), e.g. \"10.2.0.15, 10.3.1.0/24 10.4.0.10-40\"."),
        QStringLiteral("SPEC"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The device's port, 1 to 60000."),
                                  QStringLiteral("P"));
    const QCommandLineOption address(QStringLiteral("address"), QStringLiteral("The new address (required)."),
                                     QStringLiteral("A"));
    const QCommandLineOption mask(QStringLiteral("mask"), QStringLiteral("The new subnet mask (required)."),
                                  QStringLiteral("M"));
    const QCommandLineOption gateway(QStringLiteral("gateway"), QStringLiteral("The new gateway (required)."),
                                     QStringLiteral("G"));
    const QCommandLineOption dns(QStringLiteral("dns"), QStringLiteral("The new DNS server (required)."),
                                 QStringLiteral("D"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("Print what would be sent; send nothing."));
    const QString name = QString::fromLatin1(help->name);
    if (name != QLatin1String("ping") && name != QLatin1String("log"))
        parser.addOption(seconds);
    if (name == QLatin1String("list"))
        parser.addOptions({json, csv, plan, search});
    else if (name == QLatin1String("log"))
        parser.addOptions({json, csv, since, macFilter});
    else if (name != QLatin1String("ping"))
        parser.addOptions({wait, search});
    if (name == QLatin1String("set-ip"))
        parser.addOptions({address, mask, gateway, dns});
    if (name.startsWith(QLatin1String("set-")))
        parser.addOption(port);
    if (name == QLatin1String("apply"))
        parser.addOption(dryRun);

    QStringList verbArguments = arguments;
    verbArguments.removeAt(1);
    if (!parser.parse(verbArguments))
        return Refused(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::cout << parser.helpText()
                         .replace(QStringLiteral("[options]"), name + QStringLiteral(" [options]"))
                         .toStdString();
        return Ended(ExitOk);
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != (*help->arguments ? 1 : 0))
        return Refused(
            QStringLiteral("%1 takes %2")
                .arg(name, *help->arguments ? QString::fromLatin1(help->arguments) : QStringLiteral("no argument")));

    auto number = [&](const QCommandLineOption& option, double low, double high, double& value) {
        bool ok = false;
        value = parser.value(option).toDouble(&ok);
        return ok && value >= low && value <= high;
    };
    CliRequest request;
    if (name == QLatin1String("log"))
        return LogRequest(parser, since, macFilter);
    if (name != QLatin1String("ping") && !number(seconds, 0.5, 3600.0, request.searchSeconds))
        return Refused(QStringLiteral("--seconds must be a number from 0.5 to 3600"));
    if (name != QLatin1String("ping") && name != QLatin1String("list")
        && !number(wait, 1.0, 3600.0, request.waitSeconds))
        return Refused(QStringLiteral("--wait must be a number from 1 to 3600"));

    // One list for every --search, so that the limit holds for all of them together.
    const AddressList::Parsed addresses = AddressList::Parse(parser.values(search).join(' ').toStdString());
    if (!addresses.accepted)
        return Refused(QStringLiteral("--search: ") + QString::fromStdString(addresses.refusal));
    request.searchAddresses = addresses.addresses;
    if (name == QLatin1String("list")) {
        if (parser.isSet(json) + parser.isSet(csv) + parser.isSet(plan) > 1)
            return Refused(QStringLiteral("--json, --csv and --plan exclude each other"));
        request.verb = CliVerb::List;
        request.format = parser.isSet(plan) ? ListingFormat::Plan : FormatAsked(parser);
        return request;
    }
    request.target = positional.front().toStdString();
    if (name == QLatin1String("ping")) {
        request.verb = CliVerb::Ping;
        return request;
    }
    if (name == QLatin1String("apply")) {
        request.verb = CliVerb::Apply;
        request.dryRun = parser.isSet(dryRun);
        return request;
    }

    if (!IsMac(positional.front()))
        return Refused(
            QStringLiteral("\"%1\" is not a MAC address (six hex pairs joined by \":\")").arg(positional.front()));
    if (name == QLatin1String("reboot") || name == QLatin1String("defaults")) {
        request.verb = name == QLatin1String("reboot") ? CliVerb::Reboot : CliVerb::Defaults;
        return request;
    }

    // The window offers Set IP only to devices of this MAC range; others do not take it.
    if (!TavikDatagram::TakesIpSettings(request.target))
        return Refused(QStringLiteral("%1 is not a device that takes IP settings (its MAC does not begin with 00:08)")
                           .arg(positional.front()));
    request.verb = name == QLatin1String("set-dhcp") ? CliVerb::SetDhcp : CliVerb::SetIp;
    ExpectedSettings& expected = request.expected;
    expected.dhcp = request.verb == CliVerb::SetDhcp;
    if (parser.isSet(port)) {
        bool ok = false;
        const int value = parser.value(port).toInt(&ok);
        // Port 0 would leave the device unreachable; the panel's box never goes above 60000.
        if (!ok || value < 1 || value > 60000)
            return Refused(QStringLiteral("--port must be a whole number from 1 to 60000"));
        expected.port = value;
    }
    if (name == QLatin1String("set-ip")) {
        const std::pair<const QCommandLineOption*, std::string*> fields[] = {{&address, &expected.address},
                                                                             {&mask, &expected.mask},
                                                                             {&gateway, &expected.gateway},
                                                                             {&dns, &expected.dns}};
        for (const auto& [option, target] : fields) {
            const QString text = parser.value(*option);
            const auto parsed = ParseDottedQuad(text.toStdString());
            if (!parsed)
                return Refused(QStringLiteral("--%1 needs an address of four numbers 0-255, not \"%2\"")
                                   .arg(option->names().front(), text));
            *target = DottedQuadText(*parsed);
        }
        const std::uint32_t value = *ParseDottedQuad(expected.address);
        const TavikSetup::Octets octets{static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                                        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
        if (TavikSetup::SettingThatCutsOff(1, octets) == TavikSetup::CutOffSetting::Address)
            return Refused(QStringLiteral("--address %1 is no address a device can be reached at")
                               .arg(QString::fromStdString(expected.address)));
    }
    return request;
}

int RunCliRequest(const CliRequest& r, CliCommands& commands)
{
    commands.searchAlso(r.searchAddresses);
    switch (r.verb) {
    case CliVerb::None:
        break;
    case CliVerb::List:
        return commands.list(r.searchSeconds, r.format);
    case CliVerb::Reboot:
        return commands.unicastCommand(r.target, TavikDatagram::DeviceRequest::Reboot, r.searchSeconds, r.waitSeconds);
    case CliVerb::Defaults:
        return commands.unicastCommand(r.target, TavikDatagram::DeviceRequest::LoadDefaults, r.searchSeconds,
                                       r.waitSeconds);
    case CliVerb::SetIp:
    case CliVerb::SetDhcp:
        return commands.setupCommand(r.target, r.expected, r.searchSeconds, r.waitSeconds);
    case CliVerb::Ping:
        return commands.ping(r.target);
    case CliVerb::Apply:
        return commands.apply(r.target, r.searchSeconds, r.waitSeconds, r.dryRun);
    case CliVerb::Log:
        return PrintCommissioningLog(CommissioningLog::DefaultPath(), r.format, r.since, r.macFilter);
    }
    return r.exitCode;
}
