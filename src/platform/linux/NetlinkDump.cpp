#include "NetlinkDump.h"

#include "UniqueFd.h"

#include <cerrno>
#include <chrono>
#include <linux/netlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace {
// A dump that stalls this long is treated as unreadable rather than hanging the caller.
constexpr int kReplyWaitMs = 2000;
// Room for the request bodies this is used with (rtmsg, ndmsg: 12 bytes each).
constexpr std::size_t kLargestBody = 64;

bool SendDumpRequest(int fd, std::uint16_t requestType, std::size_t bodySize, std::uint32_t sequence)
{
    struct {
        nlmsghdr header;
        unsigned char body[kLargestBody];
    } request{};
    request.header.nlmsg_len = NLMSG_LENGTH(bodySize);
    request.header.nlmsg_type = requestType;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    request.body[0] = AF_INET; // rtm_family, ndm_family, ...
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    return sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel)
        == static_cast<ssize_t>(request.header.nlmsg_len);
}
} // namespace

bool NetlinkDump(std::uint16_t requestType, std::size_t bodySize,
                 const std::function<void(const nlmsghdr& message)>& onMessage)
{
    if (bodySize > kLargestBody)
        return false;
    const UniqueFd socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!socket.valid())
        return false;
    const auto sequence = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()
                                                     & 0x7fffffff);
    if (!SendDumpRequest(socket.get(), requestType, bodySize, sequence))
        return false;
    // Large enough for any one batch the kernel sends (it fills up to a page or 32 KiB).
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        pollfd entry{socket.get(), POLLIN, 0};
        int ready;
        do {
            ready = poll(&entry, 1, kReplyWaitMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0)
            return false;
        sockaddr_nl from{};
        socklen_t fromLength = sizeof from;
        const ssize_t received = recvfrom(socket.get(), buffer.data(), buffer.size(), 0,
                                          reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (from.nl_pid != 0)
            continue; // not from the kernel
        int left = static_cast<int>(received);
        for (auto* message = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(message, left);
             message = NLMSG_NEXT(message, left)) {
            if (message->nlmsg_seq != sequence)
                continue;
            if (message->nlmsg_type == NLMSG_DONE)
                return true;
            if (message->nlmsg_type == NLMSG_ERROR)
                return false;
            onMessage(*message);
        }
    }
}
