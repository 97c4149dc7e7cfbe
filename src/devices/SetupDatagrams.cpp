#include "SetupDatagrams.h"

#include "common/LeadingNumber.h"
#include "devices/Datagrams.h"

#include <cmath>

namespace TavikSetup {

namespace {

constexpr std::string_view SetIPKeyword = "SetIP|";
constexpr std::string_view SetDHCPKeyword = "SetDHCP|";

// Holds a value within [low, high]; NaN counts as low.
double held(double value, double low, double high)
{
    if (!(value >= low))
        return low;
    return value > high ? high : value;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The hex number in the two characters from 0-based index `at`, read up to the first
// character that is not a hex digit.
std::uint8_t hexPair(std::string_view text, std::size_t at)
{
    unsigned value = 0;
    for (std::size_t i = at; i < at + 2 && i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint8_t>(value);
}

void appendBytes(std::string& out, const auto& bytes)
{
    for (std::uint8_t b : bytes)
        out += static_cast<char>(b);
}

std::uint8_t byteAt(std::string_view datagram, std::size_t index) { return static_cast<std::uint8_t>(datagram[index]); }

Octets octetsAt(std::string_view datagram, std::size_t index)
{
    return {byteAt(datagram, index), byteAt(datagram, index + 1), byteAt(datagram, index + 2),
            byteAt(datagram, index + 3)};
}

std::uint16_t portAt(std::string_view datagram, std::size_t index)
{
    return static_cast<std::uint16_t>(byteAt(datagram, index) << 8 | byteAt(datagram, index + 1));
}

// The body after prefix and keyword when the datagram is exactly `length` bytes long
// and ends with "|".
std::optional<std::string_view> bodyOf(std::string_view datagram, std::string_view keyword, std::size_t length)
{
    const std::size_t head = TavikDatagram::Prefix.size() + keyword.size();
    if (datagram.size() != length || !datagram.starts_with(TavikDatagram::Prefix)
        || datagram.substr(TavikDatagram::Prefix.size(), keyword.size()) != keyword || datagram.back() != '|')
        return std::nullopt;
    return datagram.substr(head);
}

} // namespace

double RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::uint8_t OctetValue(std::string_view boxText)
{
    return static_cast<std::uint8_t>(held(RoundHalfEven(LeadingNumber(boxText)), 0, 255));
}

std::array<std::uint8_t, 2> PortBytes(std::string_view portText)
{
    const auto port = static_cast<unsigned>(held(RoundHalfEven(LeadingNumber(portText)), 0, 65535));
    return {static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port & 0xFF)};
}

std::uint16_t PortValue(std::string_view portText)
{
    const auto bytes = PortBytes(portText);
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

CutOffSetting SettingThatCutsOff(std::uint16_t port, const std::optional<Octets>& fixedAddress)
{
    constexpr std::uint8_t kLoopback = 127, kFirstMulticast = 224;
    if (fixedAddress) {
        const std::uint8_t first = (*fixedAddress)[0];
        if (first == 0 || first == kLoopback || first >= kFirstMulticast)
            return CutOffSetting::Address;
    }
    return port == 0 ? CutOffSetting::Port : CutOffSetting::None;
}

MacTail MacTailOf(std::string_view macText)
{
    // Groups 4, 5 and 6 start at the characters 10, 13 and 16 (1-based).
    return {hexPair(macText, 9), hexPair(macText, 12), hexPair(macText, 15)};
}

std::string SetIPRequest(const OctetBoxTexts& octetBoxes, std::string_view portText, std::string_view selectedMac)
{
    std::array<std::uint8_t, 16> octets{};
    for (std::size_t i = 0; i < octets.size(); ++i)
        octets[i] = OctetValue(octetBoxes[i]);

    std::string datagram(TavikDatagram::Prefix);
    datagram += SetIPKeyword;
    appendBytes(datagram, MacTailOf(selectedMac));
    appendBytes(datagram, std::array{octets[0], octets[1], octets[2], octets[3]});
    appendBytes(datagram, PortBytes(portText));
    for (std::size_t i = 4; i < octets.size(); ++i)
        datagram += static_cast<char>(octets[i]);
    datagram += '|';
    return datagram;
}

std::string SetDHCPRequest(std::string_view portText, std::string_view selectedMac)
{
    std::string datagram(TavikDatagram::Prefix);
    datagram += SetDHCPKeyword;
    appendBytes(datagram, MacTailOf(selectedMac));
    appendBytes(datagram, PortBytes(portText));
    datagram += '|';
    return datagram;
}

std::optional<SetIPCommand> ParseSetIP(std::string_view datagram)
{
    const auto body = bodyOf(datagram, SetIPKeyword, SetIPLength);
    if (!body)
        return std::nullopt;
    SetIPCommand command;
    command.macTail = {byteAt(*body, 0), byteAt(*body, 1), byteAt(*body, 2)};
    command.address = octetsAt(*body, 3);
    command.port = portAt(*body, 7);
    command.mask = octetsAt(*body, 9);
    command.gateway = octetsAt(*body, 13);
    command.dns = octetsAt(*body, 17);
    return command;
}

std::optional<SetDHCPCommand> ParseSetDHCP(std::string_view datagram)
{
    const auto body = bodyOf(datagram, SetDHCPKeyword, SetDHCPLength);
    if (!body)
        return std::nullopt;
    SetDHCPCommand command;
    command.macTail = {byteAt(*body, 0), byteAt(*body, 1), byteAt(*body, 2)};
    command.port = portAt(*body, 3);
    return command;
}

std::string DottedText(const Octets& octets)
{
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) + "."
        + std::to_string(octets[3]);
}

} // namespace TavikSetup
