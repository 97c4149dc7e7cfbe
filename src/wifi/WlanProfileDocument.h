#pragma once

#include <optional>
#include <string>
#include <string_view>

// The WLAN profile document for a hidden WPA2-PSK (AES) network whose profile name
// equals its SSID, connected by hand only, with the adapter's own MAC address.
// 30 lines, each ending in CR LF, no indentation; one byte per character, declared as
// ISO-8859-1 when a byte of 0x80 or above occurs. Refused (no document) when the SSID or
// the passphrase holds a control character, which XML cannot carry or would alter.
std::optional<std::string> WlanProfileDocument(std::string_view ssid, std::string_view passphrase);
