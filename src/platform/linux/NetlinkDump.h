#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

struct nlmsghdr;

// Asks the kernel's routing netlink for a dump of IPv4 entries (requestType such as
// RTM_GETROUTE or RTM_GETNEIGH, whose request body of bodySize bytes starts with the
// address family) and hands each message of the dump to onMessage. True once the whole
// dump was read; false when the socket, the request or a reply failed, or a reply did not
// come within two seconds (what was handed over until then stays handed over).
bool NetlinkDump(std::uint16_t requestType, std::size_t bodySize,
                 const std::function<void(const nlmsghdr& message)>& onMessage);
