#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct NicRecord;

// The addresses a user asks the search to try by unicast, beyond what the broadcast reaches:
// single addresses ("10.2.0.15"), CIDR blocks ("10.3.1.0/24") and last-octet ranges
// ("10.4.0.10-40"), separated by commas or white space. Addresses are IPv4 in host order.
namespace AddressList {

// A /22: every search sends one list request to each address per second, so the list stays
// small enough to spread over half a second without bursts.
inline constexpr std::size_t kMaxAddresses = 1024;
inline constexpr int kWidestPrefix = 22;

struct Parsed {
    bool accepted = false;
    std::vector<std::uint32_t> addresses; // sorted, each once; empty when refused
    std::string refusal;                  // names the part that is wrong; empty when accepted
};

// The whole entry, or a refusal of the whole entry: a part that is no address, block or range,
// a block wider than /22, more than 1,024 addresses in all, or an address no device can be
// reached at (0.x.x.x, 127.x.x.x, 224.0.0.0 and above). An empty entry is an empty list.
Parsed Parse(std::string_view text);

// The addresses on none of the adapters' networks: on-link ones are the broadcast's, and a
// unicast to each absent one would ask for it on the link and fill the neighbour table.
std::vector<std::uint32_t> OffEveryAdapterSubnet(const std::vector<std::uint32_t>& addresses,
                                                 const std::vector<NicRecord>& nics);

// The shortest entry that Parse reads back as the same list: whole blocks of 256 or more as
// CIDR, other runs within one /24 as ranges, the rest one by one, joined by ", ".
std::string CanonicalText(const std::vector<std::uint32_t>& sortedAddresses);

} // namespace AddressList
