#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

// The lines of a reply block, in the order a device sends them.
enum class ReplyLine { HostName, Mac, Assignment, Address, Mask, Gateway, Dns, Firmware };

// One simulated webserver's settings: what it reports in its reply block and how it
// behaves on the wire.
struct DeviceConfig {
    std::string hostName = "TAVIK-WS";
    std::string mac = "00:08:DC:00:00:01"; // upper-case hex, colon separated
    bool dhcp = false;
    std::string address = "192.168.1.20";
    std::uint16_t port = 80;
    std::string mask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    std::string dns = "192.168.1.1";
    std::string firmware = "2.14";
    int replyDelayMs = 0;
    int replyJitterMs = 0;
    // The interface the device sits on; empty: it hears requests from every interface.
    std::string interfaceName;
    // Lines this device leaves out of its reply, as some firmware does.
    std::set<ReplyLine> omittedLines;
    // Answers SetIP and SetDHCP with its new reply block, sent to the requester.
    bool confirmsSetup = false;
};

// Reads "key=value,key=value,..." on top of `base`. Keys: name, mac, mode (dhcp or
// static), ip, port, mask, gw, dns, fw, delay, jitter, iface, omit (reply lines joined by
// "+": hostname, mac, assignment, address, mask, gateway, dns, firmware; empty: none),
// confirm (yes or no).
// Nothing, with a message in `error`, for an unknown key or a value that does not fit it.
std::optional<DeviceConfig> ParseDeviceKeys(std::string_view keys, const DeviceConfig& base, std::string& error);

// "a.b.c.d" with four decimal numbers 0..255.
bool IsDottedAddress(std::string_view text);
// The usual gateway of an address's /24 network: its first three octets and ".1".
std::string NetworkGateway(std::string_view dotted);
// Six two-digit hex groups joined by ":" (either case); the canonical upper-case form,
// or nothing.
std::optional<std::string> CanonicalMac(std::string_view text);
// The address `steps` after `dotted` (counting across octets), or nothing past 255.255.255.255.
std::optional<std::string> AddressPlus(std::string_view dotted, std::uint32_t steps);
