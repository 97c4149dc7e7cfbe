#include "SimSettings.h"

#include "common/TrimmedText.h"

#include <QCommandLineParser>

namespace {

const char* const Description =
    "Plays Tavik webservers on UDP port 8080: answers the list request with one reply block per\n"
    "device, reboots a device on Reboot/Default sent to its address, applies SetIP/SetDHCP\n"
    "addressed by the last three MAC bytes. Answers requests only, never replies.\n"
    "\n"
    "Run it only inside a private network namespace (see scripts/simlan.sh).\n"
    "\n"
    "Device keys for --device and --config lines, comma separated:\n"
    "  name=HOST mac=00:08:DC:12:34:56 mode=dhcp|static ip=A.B.C.D port=N mask=A.B.C.D\n"
    "  gw=A.B.C.D dns=A.B.C.D fw=TEXT delay=MS jitter=MS iface=NAME omit=LINE[+LINE...]\n"
    "  confirm=yes|no\n"
    "omit= leaves reply lines out: hostname, mac, assignment, address, mask, gateway, dns,\n"
    "firmware. Without the firmware line the reply ends with the value before it, no line break.\n"
    "confirm=yes answers SetIP/SetDHCP with the device's new reply block, sent to the requester\n"
    "(its address and port, also with --broadcast-replies) before the device goes silent.\n"
    "Keys left out take the values of the generated pattern (--mac-prefix, --first-address, ...)\n"
    "for the device's position in the list.";

std::string hexByte(std::uint32_t value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[value >> 4 & 0xF], digits[value & 0xF]};
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t end = text.find('\n', from);
        out.push_back(text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
        if (end == std::string_view::npos)
            break;
        from = end + 1;
    }
    return out;
}

} // namespace

std::optional<DeviceConfig> PatternDevice(const FleetPattern& pattern, std::uint32_t index, std::string& error)
{
    // The MAC prefix takes 1..5 groups; the counter (from 1) fills the remaining bytes.
    const std::size_t groups = (pattern.macPrefix.size() + 1) / 3;
    if (pattern.macPrefix.size() % 3 != 2 || groups > 5
        || !CanonicalMac(pattern.macPrefix + std::string(":00:00:00:00:00").substr(0, 3 * (6 - groups)))) {
        error = "--mac-prefix: one to five hex pairs joined by ':': " + pattern.macPrefix;
        return std::nullopt;
    }
    const std::uint32_t counter = index + 1;
    // The counter must fit the bytes after the prefix, or MACs would repeat.
    const std::uint64_t distinctTails = (std::uint64_t{1} << (8 * (6 - groups))) - 1;
    if (counter > distinctTails) {
        error = "--mac-prefix: " + std::to_string(groups) + " groups leave room for " + std::to_string(distinctTails)
            + " devices only: " + pattern.macPrefix;
        return std::nullopt;
    }
    std::string tail;
    for (std::size_t byte = groups; byte < 6; ++byte) {
        const std::size_t shift = 8 * (5 - byte);
        tail += ":" + hexByte(shift < 32 ? counter >> shift : 0);
    }

    DeviceConfig config;
    config.mac = *CanonicalMac(pattern.macPrefix + tail);
    config.hostName = "TAVIK-" + config.mac.substr(9, 2) + config.mac.substr(12, 2) + config.mac.substr(15, 2);
    const auto address = AddressPlus(pattern.firstAddress, index);
    if (!address) {
        error = "--first-address: not an IPv4 address, or too few addresses after it: " + pattern.firstAddress;
        return std::nullopt;
    }
    config.address = *address;
    config.port = pattern.ports.empty() ? 80 : pattern.ports[index % pattern.ports.size()];
    config.dhcp = pattern.dhcpEvery > 0 && counter % static_cast<std::uint32_t>(pattern.dhcpEvery) == 0;
    config.mask = pattern.mask;
    config.gateway = pattern.gateway.empty() ? NetworkGateway(config.address) : pattern.gateway;
    config.dns = pattern.dns.empty() ? config.gateway : pattern.dns;
    config.replyDelayMs = pattern.replyDelayMs;
    config.replyJitterMs = pattern.replyJitterMs;
    config.interfaceName = pattern.interfaceName;
    return config;
}

namespace {

// What the options fill before the devices are made: the pattern, the device lines, the
// count and the settings that are not about devices.
struct ParsedOptions {
    FleetPattern pattern;
    std::vector<std::string> deviceLines;
    std::optional<int> count;
    SimSettings settings;
    std::function<std::optional<std::string>(const std::string&)> readFile;
};

// One command-line option: its names, help, value name (empty for a switch), default, and
// what it does with its values (all of them, in order, for a repeatable option); the text
// it returns is why the value was refused.
struct SimOption {
    QStringList names;
    const char* help;
    const char* valueName;
    const char* defaultValue;
    std::function<std::string(ParsedOptions&, const QStringList&)> apply;
};

std::string readInto(std::string& target, const QStringList& values)
{
    target = values.value(0).toStdString();
    return {};
}

std::string readAddress(std::string& target, const QStringList& values, const char* option)
{
    target = values.value(0).toStdString();
    return values.isEmpty() || IsDottedAddress(target) ? std::string() : std::string(option) + ": not an IPv4 address";
}

std::string readMilliseconds(int& target, const QStringList& values)
{
    bool ok = false;
    target = values.value(0).toInt(&ok);
    return ok && target >= 0 && target <= 600000 ? std::string() : "--delay, --jitter: milliseconds, 0..600000";
}

std::string readPorts(ParsedOptions& parsed, const QStringList& values)
{
    parsed.pattern.ports.clear();
    for (const QString& text : values.value(0).split(',')) {
        bool ok = false;
        const uint value = text.toUInt(&ok);
        if (!ok || value > 65535)
            return "--ports: 0..65535, not " + text.toStdString();
        parsed.pattern.ports.push_back(static_cast<std::uint16_t>(value));
    }
    return {};
}

std::string readConfigFiles(ParsedOptions& parsed, const QStringList& files)
{
    for (const QString& file : files) {
        const auto text = parsed.readFile(file.toStdString());
        if (!text)
            return "--config: cannot read " + file.toStdString();
        for (std::string_view line : lines(*text)) {
            line = TrimmedText(line.substr(0, line.find('#')), " \t\r");
            if (!line.empty())
                parsed.deviceLines.emplace_back(line);
        }
    }
    return {};
}

const std::vector<SimOption>& Options()
{
    // Read in this order; the config files' devices come before the --device lines.
    static const std::vector<SimOption> options{
        {{"n", "count"},
         "Generated devices (default 1 without --device/--config, else 0).",
         "N",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             if (v.isEmpty())
                 return {};
             bool ok = false;
             p.count = v.value(0).toInt(&ok);
             return ok && *p.count >= 0 && *p.count <= 10000 ? "" : "--count: 0..10000";
         }},
        {{"mac-prefix"},
         "First MAC bytes of generated devices (default 00:08:DC).",
         "XX:XX:XX",
         "00:08:DC",
         [](ParsedOptions& p, const QStringList& v) { return readInto(p.pattern.macPrefix, v); }},
        {{"first-address"},
         "Address of the first device; the next ones count up (default 192.168.1.20).",
         "A.B.C.D",
         "192.168.1.20",
         [](ParsedOptions& p, const QStringList& v) { return readInto(p.pattern.firstAddress, v); }},
        {{"ports"}, "Device ports, comma separated, used in turn (default 80).", "P[,P...]", "80", readPorts},
        {{"dhcp-every"},
         "Every N-th device reports DHCP; 0: none (default 2).",
         "N",
         "2",
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             bool ok = false;
             p.pattern.dhcpEvery = v.value(0).toInt(&ok);
             return ok && p.pattern.dhcpEvery >= 0 ? "" : "--dhcp-every: a whole number from 0";
         }},
        {{"mask"},
         "Subnet mask of generated devices (default 255.255.255.0).",
         "A.B.C.D",
         "255.255.255.0",
         [](ParsedOptions& p, const QStringList& v) { return readAddress(p.pattern.mask, v, "--mask"); }},
        {{"gateway"},
         "Gateway of generated devices (default: their network's .1).",
         "A.B.C.D",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) { return readAddress(p.pattern.gateway, v, "--gateway"); }},
        {{"dns"},
         "DNS server of generated devices (default: the gateway).",
         "A.B.C.D",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) { return readAddress(p.pattern.dns, v, "--dns"); }},
        {{"delay"},
         "Reply delay of generated devices (default 0).",
         "MS",
         "0",
         [](ParsedOptions& p, const QStringList& v) { return readMilliseconds(p.pattern.replyDelayMs, v); }},
        {{"jitter"},
         "Random extra reply delay, 0..MS.",
         "MS",
         "0",
         [](ParsedOptions& p, const QStringList& v) { return readMilliseconds(p.pattern.replyJitterMs, v); }},
        {{"iface"},
         "Interface the generated devices sit on (default: all).",
         "NAME",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) { return readInto(p.pattern.interfaceName, v); }},
        {{"config"}, "File with one device line of keys per line ('#' comments).", "FILE", nullptr, readConfigFiles},
        {{"device"},
         "One more device, as KEY=VALUE,... (repeatable).",
         "KEYS",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             for (const QString& keys : v)
                 p.deviceLines.push_back(keys.toStdString());
             return {};
         }},
        {{"bind"},
         "Address to listen on; with 255.255.255.255 each device address gets a socket of its own (default "
         "0.0.0.0). The program holds port 8080 alone: run the simulator in a network namespace of its own.",
         "A.B.C.D",
         "0.0.0.0",
         [](ParsedOptions& p, const QStringList& v) { return readAddress(p.settings.bindAddress, v, "--bind"); }},
        {{"listen-port"},
         "UDP port to listen on (default 8080).",
         "P",
         "8080",
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             bool ok = false;
             const uint port = v.value(0).toUInt(&ok);
             p.settings.listenPort = static_cast<std::uint16_t>(port);
             return ok && port >= 1 && port <= 65535 ? "" : "--listen-port: 1..65535";
         }},
        {{"broadcast-replies"},
         "Reply to 255.255.255.255:8080 on the request's interface instead of to the requester.",
         "",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             p.settings.broadcastReplies = !v.isEmpty();
             return {};
         }},
        {{"reboot-seconds"},
         "How long a device stays silent after a reboot command (default 4).",
         "S",
         "4",
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             bool ok = false;
             p.settings.rebootSeconds = v.value(0).toDouble(&ok);
             return ok && p.settings.rebootSeconds >= 0 && p.settings.rebootSeconds <= 3600
                 ? ""
                 : "--reboot-seconds: 0..3600";
         }},
        {{"manage-addresses"},
         "Put each device's address (/32) on its interface and move it when a device takes a new one (needs 'ip' "
         "and CAP_NET_ADMIN).",
         "",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             p.settings.manageAddresses = !v.isEmpty();
             return {};
         }},
        {{"q", "quiet"},
         "Log nothing but errors.",
         "",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) -> std::string {
             p.settings.quiet = !v.isEmpty();
             return {};
         }},
        {{"ready-file"},
         "Create FILE once every socket listens.",
         "FILE",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) { return readInto(p.settings.readyFile, v); }},
        {{"record"},
         "Append every datagram received to FILE, one line each: seconds, sender -> destination, interface "
         "index, bytes (\\xNN escaped).",
         "FILE",
         nullptr,
         [](ParsedOptions& p, const QStringList& v) { return readInto(p.settings.recordFile, v); }},
    };
    return options;
}

// The values an option was given, or its default; a switch reads as one value when set.
QStringList ValuesOf(const QCommandLineParser& parser, const SimOption& row, const QCommandLineOption& option)
{
    if (*row.valueName == '\0')
        return parser.isSet(option) ? QStringList{QString()} : QStringList{};
    return parser.values(option);
}

} // namespace

SimCommandLine ParseSimCommandLine(const QStringList& arguments,
                                   const std::function<std::optional<std::string>(const std::string&)>& readFile)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    parser.addOption(help);
    std::vector<QCommandLineOption> options;
    for (const SimOption& row : Options()) {
        options.emplace_back(row.names, QString::fromLatin1(row.help), QString::fromLatin1(row.valueName),
                             row.defaultValue ? QString::fromLatin1(row.defaultValue) : QString());
        parser.addOption(options.back());
    }

    SimCommandLine result;
    if (!parser.parse(arguments))
        result.error = parser.errorText().toStdString();
    else if (parser.isSet(help))
        result.helpText = parser.helpText().toStdString();
    else if (!parser.positionalArguments().isEmpty())
        result.error = "unexpected argument: " + parser.positionalArguments().first().toStdString();
    if (!result.error.empty() || !result.helpText.empty())
        return result;

    ParsedOptions parsed;
    parsed.readFile = readFile;
    for (std::size_t i = 0; i < options.size() && result.error.empty(); ++i)
        result.error = Options()[i].apply(parsed, ValuesOf(parser, Options()[i], options[i]));
    if (!result.error.empty())
        return result;

    const int generated = parsed.count.value_or(parsed.deviceLines.empty() ? 1 : 0);
    SimSettings& settings = parsed.settings;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(generated) + parsed.deviceLines.size(); ++i) {
        auto config = PatternDevice(parsed.pattern, i, result.error);
        if (config && i >= static_cast<std::uint32_t>(generated))
            config = ParseDeviceKeys(parsed.deviceLines[i - static_cast<std::uint32_t>(generated)], *config,
                                     result.error);
        if (!config)
            return result;
        settings.devices.push_back(*config);
    }
    if (settings.devices.empty()) {
        result.error = "no devices to play";
        return result;
    }
    result.settings = std::move(settings);
    return result;
}
