#include "LinuxNeighbourTable.h"

#include "UniqueFd.h"

#include "platform/DottedQuad.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace {

// A dump that stalls this long is treated as unreadable rather than hanging the caller.
constexpr int kReplyWaitMs = 2000;
// States in which the kernel holds a link-layer address that someone answered for.
constexpr unsigned kResolvedStates = NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE | NUD_PERMANENT;

bool SendDumpRequest(int fd, std::uint32_t sequence)
{
    struct {
        nlmsghdr header;
        ndmsg neighbour;
    } request{};
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ndmsg));
    request.header.nlmsg_type = RTM_GETNEIGH;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    request.neighbour.ndm_family = AF_INET;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    return sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel)
        == static_cast<ssize_t>(request.header.nlmsg_len);
}

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

    const UniqueFd socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!socket.valid())
        return false;
    const auto sequence = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()
                                                     & 0x7fffffff);
    if (!SendDumpRequest(socket.get(), sequence))
        return false;

    std::vector<char> buffer(64 * 1024);
    bool found = false;
    for (;;) {
        pollfd entry{socket.get(), POLLIN, 0};
        int ready;
        do {
            ready = poll(&entry, 1, kReplyWaitMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0)
            return found;
        sockaddr_nl from{};
        socklen_t fromLength = sizeof from;
        const ssize_t received = recvfrom(socket.get(), buffer.data(), buffer.size(), 0,
                                          reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return found;
        }
        if (from.nl_pid != 0)
            continue; // not from the kernel
        int left = static_cast<int>(received);
        // The whole dump is read, so no reply is left behind in the socket.
        for (auto* message = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(message, left);
             message = NLMSG_NEXT(message, left)) {
            if (message->nlmsg_seq != sequence)
                continue;
            if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR)
                return found;
            if (message->nlmsg_type == RTM_NEWNEIGH && IsResolvedEntryFor(message, targetNetworkOrder))
                found = true;
        }
    }
}
