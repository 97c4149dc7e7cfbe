#pragma once

#include "DeviceReply.h"
#include "ExpectedSettings.h"

#include <optional>
#include <string>
#include <string_view>

// The four commands a device takes.
enum class CommandKind { Reboot, LoadDefaults, SetIP, SetDHCP };

// One command for one device, as either front end builds it: the datagram, how it travels,
// and what the device is to show afterwards.
struct CommandRequest {
    CommandKind kind = CommandKind::Reboot;
    std::string mac;
    std::string address;     // where its reply came from: Reboot and Load defaults go there
    int interfaceIndex = -1; // the adapter that heard it; -1 unknown
    // The device's reply as listed before the command, for a record of what it changed.
    std::optional<DeviceReply> listed;
    std::string datagram;
    int copies = 1; // of each unicast send
    ExpectedSettings expected;
    // SetIP and SetDHCP are broadcasts, which stop at a router: a device reached by address
    // gets each copy at the address it answered from as well.
    std::string alsoUnicastTo;
};

// Reboot or Load defaults for a device: its datagram to its own address. A rebooted device
// is to come back where it was (at its listed port, when it was listed); defaults may move
// it anywhere.
CommandRequest UnicastCommandFor(CommandKind kind, const std::string& mac, const std::string& address,
                                 int interfaceIndex, const std::optional<DeviceReply>& listed);
// SetIP or SetDHCP as `datagram` says, broadcast; the device is to show what went out.
CommandRequest SetupCommandFor(const std::string& mac, const std::string& address, int interfaceIndex,
                               const std::optional<DeviceReply>& listed, const std::string& datagram);

// "reboot", "load-defaults", "set-ip", "set-dhcp": the command line's verbs and the log's names.
std::string_view CommandKindName(CommandKind kind);
std::optional<CommandKind> CommandKindNamed(std::string_view name);
