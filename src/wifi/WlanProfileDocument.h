#pragma once

#include <string>
#include <string_view>

// The WLAN profile document for a hidden WPA2-PSK (AES) network whose profile name
// equals its SSID, connected by hand only, with the adapter's own MAC address.
// 30 lines, each ending in CR LF, no indentation; one byte per character.
std::string WlanProfileDocument(std::string_view ssid, std::string_view passphrase);
