#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Strict dotted IPv4 text: exactly four decimal numbers of one to three digits, each
// 0-255, joined by dots and nothing else. Returns the address in host byte order.
// Unlike inet_addr, nothing else is accepted: no octal or hex forms, no short forms,
// no trailing characters, so a typing slip never turns into some other address.
std::optional<std::uint32_t> ParseDottedIpv4(std::string_view text);
