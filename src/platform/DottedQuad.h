#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Reads an IPv4 address written as exactly four decimal numbers of one to three digits,
// each 0-255, joined by "." and nothing else. Unlike inet_addr it never reads octal, hex,
// short forms or trailing text, so a typing error cannot turn into another address (or
// into 255.255.255.255). The result is in host byte order.
std::optional<std::uint32_t> ParseDottedQuad(const std::string& text);

// The address (host byte order) as four decimal numbers without leading zeros.
std::string DottedQuadText(std::uint32_t address);
