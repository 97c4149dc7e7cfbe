#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two IP setup requests, built from what the IP setup panel holds and read back
// by whoever plays a webserver. Value bytes travel as raw bytes, never as digits,
// and are not escaped: a byte may equal "|" or 0.
namespace TavikSetup {

using Octets = std::array<std::uint8_t, 4>;
using MacTail = std::array<std::uint8_t, 3>;
// The sixteen octet boxes in index order: address, mask, gateway, DNS, four boxes each.
using OctetBoxTexts = std::array<std::string, 16>;

// Prefix + "SetIP|" + 3 MAC + 4 address + 2 port + 4 mask + 4 gateway + 4 DNS + "|".
inline constexpr std::size_t SetIPLength = 15 + 28;
// Prefix + "SetDHCP|" + 3 MAC + 2 port + "|".
inline constexpr std::size_t SetDHCPLength = 15 + 14;

// Nearest integer, halfway values going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The byte an octet box stands for: its leading number, rounded half to even.
// The box rules keep it within 0..255; anything outside is held at the nearest end.
std::uint8_t OctetValue(std::string_view boxText);

// The port box as two bytes, most significant first. The box rules keep the value
// within 0..60000; the value is rounded before it is split so both bytes describe
// the same number, and held within 0..65535.
std::array<std::uint8_t, 2> PortBytes(std::string_view portText);

// The port the two bytes of PortBytes stand for.
std::uint16_t PortValue(std::string_view portText);

// A value that would leave the device unreachable once it has taken its new settings.
enum class CutOffSetting { None, Address, Port };
// The one rule for every SetIP and SetDHCP, whoever sends it and wherever its values come
// from (typed, given on the command line, or read from the device's own reply): port 0, or
// a fixed address no device can be reached at (0.x.x.x, 127.x.x.x, 224.0.0.0 and above).
// fixedAddress is nothing for DHCP.
CutOffSetting SettingThatCutsOff(std::uint16_t port, const std::optional<Octets>& fixedAddress);

// The last three bytes of a MAC address text "xx:xx:xx:xx:xx:xx": each two-character
// group read as hex up to its first non-hex character, 0 when it has none or is missing.
MacTail MacTailOf(std::string_view macText);

// The requests as the panel sends them, prefix included.
std::string SetIPRequest(const OctetBoxTexts& octetBoxes, std::string_view portText, std::string_view selectedMac);
std::string SetDHCPRequest(std::string_view portText, std::string_view selectedMac);

struct SetIPCommand {
    MacTail macTail{};
    Octets address{};
    std::uint16_t port = 0;
    Octets mask{};
    Octets gateway{};
    Octets dns{};
};

struct SetDHCPCommand {
    MacTail macTail{};
    std::uint16_t port = 0;
};

// The fields of a received request; nothing when the datagram is not exactly such a
// request (other keyword, wrong length, missing closing "|").
std::optional<SetIPCommand> ParseSetIP(std::string_view datagram);
std::optional<SetDHCPCommand> ParseSetDHCP(std::string_view datagram);

// "a.b.c.d" for four octets.
std::string DottedText(const Octets& octets);

} // namespace TavikSetup
