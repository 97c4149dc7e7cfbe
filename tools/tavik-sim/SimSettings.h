#pragma once

#include "DeviceConfig.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Everything the command line sets.
struct SimSettings {
    std::vector<DeviceConfig> devices;
    std::string bindAddress = "0.0.0.0";
    std::uint16_t listenPort = 8080;
    bool broadcastReplies = false;
    double rebootSeconds = 4.0;
    bool manageAddresses = false;
    bool quiet = false;
    std::string readyFile;  // written once every socket listens
    std::string recordFile; // every datagram received, one line each
};

struct SimCommandLine {
    std::optional<SimSettings> settings; // nothing when --help was asked for or on an error
    std::string error;                   // why the command line was refused
    std::string helpText;                // set when --help was asked for
};

// Reads the arguments (program name first). Device lines of --config files are read
// through readFile, which gives nothing when the file cannot be read.
SimCommandLine ParseSimCommandLine(const QStringList& arguments,
                                   const std::function<std::optional<std::string>(const std::string&)>& readFile);

// Device i (from 0) of a generated LAN, before any per-device keys are applied.
struct FleetPattern {
    std::string macPrefix = "00:08:DC";
    std::string firstAddress = "192.168.1.20";
    std::vector<std::uint16_t> ports{80};
    int dhcpEvery = 2; // every n-th device takes DHCP; 0: none
    std::string mask = "255.255.255.0";
    std::string gateway; // empty: the device's network with .1
    std::string dns;     // empty: the gateway
    int replyDelayMs = 0;
    int replyJitterMs = 0;
    std::string interfaceName;
};
std::optional<DeviceConfig> PatternDevice(const FleetPattern& pattern, std::uint32_t index, std::string& error);
