#include "SimSettings.h"

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
    "  gw=A.B.C.D dns=A.B.C.D fw=TEXT delay=MS jitter=MS iface=NAME\n"
    "Keys left out take the values of the generated pattern (--mac-prefix, --first-address, ...)\n"
    "for the device's position in the list.";

std::string hexByte(std::uint32_t value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[value >> 4 & 0xF], digits[value & 0xF]};
}

std::optional<int> milliseconds(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= 600000 ? std::optional<int>(value) : std::nullopt;
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

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::optional<DeviceConfig> PatternDevice(const FleetPattern& pattern, std::uint32_t index, std::string& error)
{
    // The MAC prefix takes 1..5 groups; the counter (from 1) fills the remaining bytes.
    const std::size_t groups = (pattern.macPrefix.size() + 1) / 3;
    if (pattern.macPrefix.size() % 3 != 2 || groups > 5 ||
        !CanonicalMac(pattern.macPrefix + std::string(":00:00:00:00:00").substr(0, 3 * (6 - groups)))) {
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

SimCommandLine ParseSimCommandLine(const QStringList& arguments,
                                   const std::function<std::optional<std::string>(const std::string&)>& readFile)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption count({"n", "count"}, "Generated devices (default 1 without --device/--config, else 0).",
                                   "N");
    const QCommandLineOption macPrefix("mac-prefix", "First MAC bytes of generated devices (default 00:08:DC).", "XX:XX:XX", "00:08:DC");
    const QCommandLineOption firstAddress("first-address", "Address of the first device; the next ones count up (default 192.168.1.20).",
                                          "A.B.C.D", "192.168.1.20");
    const QCommandLineOption ports("ports", "Device ports, comma separated, used in turn (default 80).", "P[,P...]", "80");
    const QCommandLineOption dhcpEvery("dhcp-every", "Every N-th device reports DHCP; 0: none (default 2).", "N", "2");
    const QCommandLineOption mask("mask", "Subnet mask of generated devices (default 255.255.255.0).", "A.B.C.D", "255.255.255.0");
    const QCommandLineOption gateway("gateway", "Gateway of generated devices (default: their network's .1).",
                                     "A.B.C.D");
    const QCommandLineOption dns("dns", "DNS server of generated devices (default: the gateway).", "A.B.C.D");
    const QCommandLineOption delay("delay", "Reply delay of generated devices (default 0).", "MS", "0");
    const QCommandLineOption jitter("jitter", "Random extra reply delay, 0..MS.", "MS", "0");
    const QCommandLineOption iface("iface", "Interface the generated devices sit on (default: all).", "NAME");
    const QCommandLineOption device("device", "One more device, as KEY=VALUE,... (repeatable).", "KEYS");
    const QCommandLineOption config("config", "File with one device line of keys per line ('#' comments).", "FILE");
    const QCommandLineOption bind("bind",
                                  "Address to listen on; with 255.255.255.255 each device address gets a socket of its "
                                  "own (default 0.0.0.0). The program holds port 8080 alone: run the simulator in a "
                                  "network namespace of its own.",
                                  "A.B.C.D", "0.0.0.0");
    const QCommandLineOption port("listen-port", "UDP port to listen on (default 8080).", "P", "8080");
    const QCommandLineOption broadcast("broadcast-replies",
                                       "Reply to 255.255.255.255:8080 on the request's interface instead of to "
                                       "the requester.");
    const QCommandLineOption reboot("reboot-seconds", "How long a device stays silent after a reboot command (default 4).",
                                    "S", "4");
    const QCommandLineOption manage("manage-addresses",
                                    "Put each device's address (/32) on its interface and move it when a "
                                    "device takes a new one (needs 'ip' and CAP_NET_ADMIN).");
    const QCommandLineOption quiet({"q", "quiet"}, "Log nothing but errors.");
    const QCommandLineOption ready("ready-file", "Create FILE once every socket listens.", "FILE");
    const QCommandLineOption record("record",
                                    "Append every datagram received to FILE, one line each: seconds, "
                                    "sender -> destination, interface index, bytes (\\xNN escaped).",
                                    "FILE");
    parser.addOptions({help, count, macPrefix, firstAddress, ports, dhcpEvery, mask, gateway, dns, delay, jitter,
                       iface, device, config, bind, port, broadcast, reboot, manage, quiet, ready, record});

    SimCommandLine result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText().toStdString();
        return result;
    }
    if (parser.isSet(help)) {
        result.helpText = parser.helpText().toStdString();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = "unexpected argument: " + parser.positionalArguments().first().toStdString();
        return result;
    }

    FleetPattern pattern;
    pattern.macPrefix = parser.value(macPrefix).toStdString();
    pattern.firstAddress = parser.value(firstAddress).toStdString();
    pattern.ports.clear();
    for (const QString& text : parser.value(ports).split(',')) {
        bool ok = false;
        const uint value = text.toUInt(&ok);
        if (!ok || value > 65535) {
            result.error = "--ports: 0..65535, not " + text.toStdString();
            return result;
        }
        pattern.ports.push_back(static_cast<std::uint16_t>(value));
    }
    bool ok = false;
    pattern.dhcpEvery = parser.value(dhcpEvery).toInt(&ok);
    if (!ok || pattern.dhcpEvery < 0) {
        result.error = "--dhcp-every: a whole number from 0";
        return result;
    }
    for (const auto* option : {&mask, &gateway, &dns}) {
        if (parser.isSet(*option) && !IsDottedAddress(parser.value(*option).toStdString())) {
            result.error = "--" + option->names().first().toStdString() + ": not an IPv4 address";
            return result;
        }
    }
    pattern.mask = parser.value(mask).toStdString();
    pattern.gateway = parser.value(gateway).toStdString();
    pattern.dns = parser.value(dns).toStdString();
    const auto delayMs = milliseconds(parser.value(delay));
    const auto jitterMs = milliseconds(parser.value(jitter));
    if (!delayMs || !jitterMs) {
        result.error = "--delay, --jitter: milliseconds, 0..600000";
        return result;
    }
    pattern.replyDelayMs = *delayMs;
    pattern.replyJitterMs = *jitterMs;
    pattern.interfaceName = parser.value(iface).toStdString();

    std::vector<std::string> deviceLines;
    for (const QString& file : parser.values(config)) {
        const auto text = readFile(file.toStdString());
        if (!text) {
            result.error = "--config: cannot read " + file.toStdString();
            return result;
        }
        for (std::string_view line : lines(*text)) {
            line = trimmed(line.substr(0, line.find('#')));
            if (!line.empty())
                deviceLines.emplace_back(line);
        }
    }
    for (const QString& keys : parser.values(device))
        deviceLines.push_back(keys.toStdString());

    int generated = deviceLines.empty() ? 1 : 0;
    if (parser.isSet(count)) {
        generated = parser.value(count).toInt(&ok);
        if (!ok || generated < 0 || generated > 10000) {
            result.error = "--count: 0..10000";
            return result;
        }
    }

    SimSettings settings;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(generated) + deviceLines.size(); ++i) {
        auto config = PatternDevice(pattern, i, result.error);
        if (config && i >= static_cast<std::uint32_t>(generated))
            config = ParseDeviceKeys(deviceLines[i - static_cast<std::uint32_t>(generated)], *config, result.error);
        if (!config)
            return result;
        settings.devices.push_back(*config);
    }
    if (settings.devices.empty()) {
        result.error = "no devices to play";
        return result;
    }

    settings.bindAddress = parser.value(bind).toStdString();
    if (!IsDottedAddress(settings.bindAddress)) {
        result.error = "--bind: not an IPv4 address";
        return result;
    }
    const uint listenPort = parser.value(port).toUInt(&ok);
    if (!ok || listenPort == 0 || listenPort > 65535) {
        result.error = "--listen-port: 1..65535";
        return result;
    }
    settings.listenPort = static_cast<std::uint16_t>(listenPort);
    settings.broadcastReplies = parser.isSet(broadcast);
    settings.rebootSeconds = parser.value(reboot).toDouble(&ok);
    if (!ok || settings.rebootSeconds < 0 || settings.rebootSeconds > 3600) {
        result.error = "--reboot-seconds: 0..3600";
        return result;
    }
    settings.manageAddresses = parser.isSet(manage);
    settings.quiet = parser.isSet(quiet);
    settings.readyFile = parser.value(ready).toStdString();
    settings.recordFile = parser.value(record).toStdString();
    result.settings = std::move(settings);
    return result;
}
