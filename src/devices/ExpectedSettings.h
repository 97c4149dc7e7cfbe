#pragma once

#include <optional>
#include <string>
#include <string_view>

struct DeviceReply;

// The settings a command is to leave on a device, as its reply would show them; unset ones
// are not compared. The window's IP setup panel and the command line judge a device's answer
// by this one rule.
struct ExpectedSettings {
    std::optional<bool> dhcp;
    std::string address, mask, gateway, dns;
    std::optional<int> port;
};

// Whether the reply shows every value that is expected.
bool Matches(const DeviceReply& reply, const ExpectedSettings& expected);

// Devices write the hex digits of their MAC in either case.
bool SameMac(std::string_view a, std::string_view b);

// What a SetIP or SetDHCP request asks its device to take, read back from the request's own
// bytes, so that an answer is compared with exactly what went out; nothing for any other
// datagram.
std::optional<ExpectedSettings> SettingsSentIn(std::string_view request);
