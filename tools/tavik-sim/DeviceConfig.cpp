#include "DeviceConfig.h"

#include "common/TrimmedText.h"
#include "platform/DottedQuad.h"

#include <charconv>
#include <map>
#include <vector>

namespace {

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos)
            return parts;
        from = at + 1;
    }
}

std::optional<long> wholeNumber(std::string_view text, long low, long high)
{
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value < low || value > high)
        return std::nullopt;
    return value;
}

const std::map<std::string_view, ReplyLine> kReplyLineNames{
    {"hostname", ReplyLine::HostName}, {"mac", ReplyLine::Mac},           {"assignment", ReplyLine::Assignment},
    {"address", ReplyLine::Address},   {"mask", ReplyLine::Mask},         {"gateway", ReplyLine::Gateway},
    {"dns", ReplyLine::Dns},           {"firmware", ReplyLine::Firmware},
};

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Applies one key; false with a message when the key or its value is not accepted.
bool apply(DeviceConfig& config, std::string_view key, std::string_view value, std::string& error)
{
    auto address = [&](std::string& field) {
        if (!IsDottedAddress(value)) {
            error = std::string(key) + ": not an IPv4 address: " + std::string(value);
            return false;
        }
        field = value;
        return true;
    };
    auto milliseconds = [&](int& field) {
        const auto ms = wholeNumber(value, 0, 600000);
        if (!ms) {
            error = std::string(key) + ": not a number of milliseconds: " + std::string(value);
            return false;
        }
        field = static_cast<int>(*ms);
        return true;
    };

    // A reply is a block of CR LF lines: a line break inside a value would make a line
    // (a label) of its own in every reply.
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        error = std::string(key) + ": no line break inside a value";
        return false;
    }
    if (key == "name") {
        config.hostName = value;
    } else if (key == "mac") {
        const auto mac = CanonicalMac(value);
        if (!mac) {
            error = "mac: expected six hex pairs joined by ':': " + std::string(value);
            return false;
        }
        config.mac = *mac;
    } else if (key == "mode") {
        if (value != "dhcp" && value != "static") {
            error = "mode: dhcp or static, not " + std::string(value);
            return false;
        }
        config.dhcp = value == "dhcp";
    } else if (key == "ip") {
        return address(config.address);
    } else if (key == "port") {
        const auto port = wholeNumber(value, 0, 65535);
        if (!port) {
            error = "port: 0..65535, not " + std::string(value);
            return false;
        }
        config.port = static_cast<std::uint16_t>(*port);
    } else if (key == "mask") {
        return address(config.mask);
    } else if (key == "gw") {
        return address(config.gateway);
    } else if (key == "dns") {
        return address(config.dns);
    } else if (key == "fw") {
        config.firmware = value;
    } else if (key == "delay") {
        return milliseconds(config.replyDelayMs);
    } else if (key == "jitter") {
        return milliseconds(config.replyJitterMs);
    } else if (key == "iface") {
        config.interfaceName = value;
    } else if (key == "confirm") {
        if (value != "yes" && value != "no") {
            error = "confirm: yes or no, not " + std::string(value);
            return false;
        }
        config.confirmsSetup = value == "yes";
    } else if (key == "omit") {
        config.omittedLines.clear();
        for (std::string_view name : value.empty() ? std::vector<std::string_view>{} : split(value, '+')) {
            const auto line = kReplyLineNames.find(TrimmedText(name, " \t"));
            if (line == kReplyLineNames.end()) {
                error = "omit: not a reply line: " + std::string(name)
                    + " (hostname, mac, assignment, address, mask, gateway, dns, firmware)";
                return false;
            }
            config.omittedLines.insert(line->second);
        }
    } else {
        error = "unknown device key: " + std::string(key);
        return false;
    }
    return true;
}

} // namespace

std::optional<DeviceConfig> ParseDeviceKeys(std::string_view keys, const DeviceConfig& base, std::string& error)
{
    DeviceConfig config = base;
    bool gatewayGiven = false;
    bool dnsGiven = false;
    for (std::string_view item : split(keys, ',')) {
        item = TrimmedText(item, " \t\r");
        if (item.empty())
            continue;
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos) {
            error = "expected key=value: " + std::string(item);
            return std::nullopt;
        }
        const std::string_view key = TrimmedText(item.substr(0, equals), " \t\r");
        gatewayGiven = gatewayGiven || key == "gw";
        dnsGiven = dnsGiven || key == "dns";
        if (!apply(config, key, TrimmedText(item.substr(equals + 1), " \t\r"), error))
            return std::nullopt;
    }
    // A gateway that followed the base's address (its network's .1) follows a new
    // address too, and so does a DNS server that was the gateway.
    if (!gatewayGiven && base.gateway == NetworkGateway(base.address))
        config.gateway = NetworkGateway(config.address);
    if (!dnsGiven && base.dns == base.gateway)
        config.dns = config.gateway;
    return config;
}

bool IsDottedAddress(std::string_view text) { return ParseDottedQuad(std::string(text)).has_value(); }

std::string NetworkGateway(std::string_view dotted) { return std::string(dotted.substr(0, dotted.rfind('.'))) + ".1"; }

std::optional<std::string> CanonicalMac(std::string_view text)
{
    if (text.size() != 17)
        return std::nullopt;
    std::string mac;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool separator = i % 3 == 2;
        if (separator ? c != ':' : !isHex(c))
            return std::nullopt;
        mac += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return mac;
}

std::optional<std::string> AddressPlus(std::string_view dotted, std::uint32_t steps)
{
    const auto value = ParseDottedQuad(std::string(dotted));
    if (!value || steps > 0xFFFFFFFFu - *value)
        return std::nullopt;
    return DottedQuadText(*value + steps);
}
