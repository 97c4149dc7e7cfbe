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

// True when both addresses are valid and share the network that mask (a dotted mask)
// cuts out; false for any text that is not an address or mask, and for a mask of 0.0.0.0,
// which would put every address on one network.
bool OnSameSubnet(const std::string& address, const std::string& other, const std::string& mask);

// The number of leading one bits of a dotted mask ("255.255.255.0" -> 24); nothing when
// the text is no address or its ones do not form one leading run.
std::optional<int> MaskPrefixLength(const std::string& mask);
