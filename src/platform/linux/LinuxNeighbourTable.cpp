#include "LinuxNeighbourTable.h"

#include "ArpingProgram.h"
#include "NetlinkDump.h"

#include "platform/DottedQuad.h"

#include <arpa/inet.h>
#include <cstring>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>

namespace {

// States in which the kernel holds a link-layer address that someone answered for.
constexpr unsigned kResolvedStates = NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE | NUD_PERMANENT;

// True when the message is an entry for target with a non-zero link-layer address.
bool IsResolvedEntryFor(const nlmsghdr* message, std::uint32_t targetNetworkOrder)
{
    auto* neighbour = static_cast<const ndmsg*>(NLMSG_DATA(message));
    int left = static_cast<int>(message->nlmsg_len) - static_cast<int>(NLMSG_LENGTH(sizeof(ndmsg)));
    if (left < 0 || neighbour->ndm_family != AF_INET || !(neighbour->ndm_state & kResolvedStates))
        return false;
    bool isTarget = false;
    bool hasAddress = false;
    for (auto* attribute =
             reinterpret_cast<const rtattr*>(reinterpret_cast<const char*>(neighbour) + NLMSG_ALIGN(sizeof(ndmsg)));
         RTA_OK(attribute, left); attribute = RTA_NEXT(attribute, left)) {
        const auto* data = static_cast<const unsigned char*>(RTA_DATA(attribute));
        const auto length = RTA_PAYLOAD(attribute);
        if (attribute->rta_type == NDA_DST && length == 4)
            isTarget = std::memcmp(data, &targetNetworkOrder, 4) == 0;
        else if (attribute->rta_type == NDA_LLADDR)
            for (unsigned i = 0; i < length; ++i)
                hasAddress = hasAddress || data[i] != 0;
    }
    return isTarget && hasAddress;
}

} // namespace

bool LinuxNeighbourTable::hasLinkLayerAddress(const std::string& dottedAddress)
{
    const auto target = ParseDottedQuad(dottedAddress);
    if (!target)
        return false;
    const std::uint32_t targetNetworkOrder = htonl(*target);
    // An unreadable or cut-off dump tells only what it showed before it failed.
    bool found = false;
    NetlinkDump(RTM_GETNEIGH, sizeof(ndmsg), [&](const nlmsghdr& message) {
        if (message.nlmsg_type == RTM_NEWNEIGH && IsResolvedEntryFor(&message, targetNetworkOrder))
            found = true;
    });
    return found;
}

NeighbourTable::Resolution LinuxNeighbourTable::resolveNow(const std::string& dottedAddress, int interfaceIndex)
{
    const auto target = ParseDottedQuad(dottedAddress);
    char name[IF_NAMESIZE] = {};
    if (!target || interfaceIndex <= 0 || !if_indextoname(static_cast<unsigned>(interfaceIndex), name))
        return Resolution::Unknown;
    std::call_once(arpingChecked_, [this] { arpingIsIputils_ = ArpingIsIputils(); });
    // Written without leading zeros: arping would read 010 as octal.
    return arpingIsIputils_ ? RunArping(name, DottedQuadText(*target)) : Resolution::Unknown;
}
