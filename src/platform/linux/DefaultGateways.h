#pragma once

#include <map>
#include <optional>
#include <string>

// The IPv4 default gateway of each interface, read from the kernel's main routing table by
// a netlink route dump: interface index -> dotted gateway. The first default route of an
// interface wins; the next hops of a multipath route count for their own interfaces.
// Nothing when the dump cannot be made or read.
std::optional<std::map<int, std::string>> ReadDefaultGateways();
