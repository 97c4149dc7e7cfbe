#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A webserver's reply read as a record, for whoever lists or compares devices (the
// command line, the adapter and duplicate checks). The window's list keeps the reply
// as received; this reads it line by line instead of by character positions, so a
// missing or reordered line costs only that value.
struct DeviceReply {
    std::string mac;
    std::string hostName;
    std::string assignment; // "DHCP", or what the device says for a fixed address
    std::string address;    // dotted, as the device gives it
    int port = 0;           // 0 when the device gives none
    std::string mask;
    std::string gateway;
    std::string dns;
    // Every other "label : value" line, in the device's order.
    std::vector<std::pair<std::string, std::string>> extra;
};

// Nothing when the datagram is no webserver reply. A line is "label", three separator
// characters (the device's " : "), then the value; lines end at CR, LF or both.
std::optional<DeviceReply> ReadDeviceReply(std::string_view datagram);
