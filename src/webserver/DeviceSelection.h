#pragma once

#include "devices/ServerBlock.h"

#include <string>

// The webserver the buttons act on, as its listed block read it. It travels by value from
// the list's selection to the commands, the IP setup panel and the hints.
struct DeviceSelection {
    std::string ip;  // empty: the block holds no address (no Reboot, no Set IP)
    std::string mac; // 17 characters; empty: nothing has been selected yet
    bool takesIpSettings = false;
    int interfaceIndex = -1;    // the adapter its reply arrived on; -1 unknown
    std::string reachedAt{};    // the address it answered from, when only a unicast reached it
    ServerBlockValues values{}; // what its block holds, for the IP setup panel

    bool operator==(const DeviceSelection&) const = default;
};

// What a button starts on the selected webserver.
enum class DeviceCommand { Reboot, LoadDefaults, IpSetup };
