#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Management datagrams of the Tavik webservers: plain bytes, one byte per character.
namespace TavikDatagram {

inline constexpr std::string_view Prefix = "TAVIKwebserver|";
inline constexpr std::uint16_t Port = 8080;
inline constexpr std::string_view BroadcastHost = "255.255.255.255";
// How long a webserver is silent after a Reboot, Default or new IP settings.
inline constexpr double RebootSeconds = 12.0;
// What the window's status line and the command line say when another program holds Port.
inline constexpr std::string_view PortInUseText =
    "UDP port 8080 is in use by another program. Webservers cannot be searched.";

// "TAVIKwebserver|List|": every webserver that hears it answers with its block.
std::string ListRequest();
// "TAVIKwebserver|Reboot|", sent to the selected webserver's own address.
std::string RebootRequest();
// "TAVIKwebserver|Default|", sent to the selected webserver's own address.
std::string LoadDefaultsRequest();

// The requests sent straight to one webserver, for the window and the command line alike:
// the bytes and how many copies go (Reboot's two, Default's one).
enum class DeviceRequest { Reboot, LoadDefaults };
struct RequestDatagram {
    std::string bytes;
    int copies = 1;
};
RequestDatagram DatagramFor(DeviceRequest request);

// A webserver reply is anything that is not one of our requests and carries "MAC Address".
bool IsWebserverReply(std::string_view datagram);
// Devices of this MAC range take SetIP and SetDHCP; others are offered Reboot only.
inline bool TakesIpSettings(std::string_view mac) { return mac.starts_with("00:08"); }
// The 17 characters that follow "MAC Address" and its three separator characters;
// fewer when the datagram ends earlier.
std::string ReplyMac(std::string_view datagram);

} // namespace TavikDatagram
