#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A webserver's reply read as a record, for whoever lists or compares devices (the
// command line, the adapter and duplicate checks). Its settings are read by the rules a
// selection in the window reads them with (ReadServerBlock), so both agree on every shape
// of reply; the host name and the other lines are read line by line, for listing.
struct DeviceReply {
    std::string mac;
    std::string hostName;
    std::string assignment;   // what the device says: "DHCP", or its word for a fixed address
    std::optional<bool> dhcp; // as the window decides it; nothing without the label
    std::string address;      // as the window reads it; empty without the label
    int port = 0;             // 0 when the device gives none, or nothing a port can be
    std::string mask;         // the rows as the octet boxes get them, joined by "."
    std::string gateway;
    std::string dns;
    // Every other "label : value" line, in the device's order.
    std::vector<std::pair<std::string, std::string>> extra;
};

// Nothing when the datagram is no webserver reply.
std::optional<DeviceReply> ReadDeviceReply(std::string_view datagram);

// A row value as the four octet boxes get it (at most four pieces, each ending before a line
// break), joined by ".".
std::string RowAddressText(std::string_view rowValue);
