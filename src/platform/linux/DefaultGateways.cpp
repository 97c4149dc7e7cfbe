#include "DefaultGateways.h"

#include "UniqueFd.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace {

// A dump that stalls this long is treated as failed rather than hanging the caller.
constexpr int kReplyWaitMs = 2000;

std::string Dotted(const void* bytes)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, bytes, text, sizeof text);
    return text;
}

void Remember(std::map<int, std::string>& gateways, int interfaceIndex, const std::string& gateway)
{
    if (interfaceIndex > 0 && !gateway.empty())
        gateways.emplace(interfaceIndex, gateway); // keeps the first one seen
}

std::string GatewayAttribute(const rtattr* attribute)
{
    if (attribute->rta_type == RTA_GATEWAY && RTA_PAYLOAD(attribute) >= 4)
        return Dotted(RTA_DATA(attribute));
    return {};
}

void ReadNextHops(const rtattr* multipath, std::map<int, std::string>& gateways)
{
    auto* hop = static_cast<const rtnexthop*>(RTA_DATA(multipath));
    int left = static_cast<int>(RTA_PAYLOAD(multipath));
    while (RTNH_OK(hop, left)) {
        std::string gateway;
        int attributesLeft = hop->rtnh_len - static_cast<int>(RTNH_LENGTH(0));
        for (auto* attribute = RTNH_DATA(hop); RTA_OK(attribute, attributesLeft);
             attribute = RTA_NEXT(attribute, attributesLeft)) {
            if (gateway.empty())
                gateway = GatewayAttribute(attribute);
        }
        Remember(gateways, hop->rtnh_ifindex, gateway);
        left -= RTNH_ALIGN(hop->rtnh_len);
        hop = RTNH_NEXT(hop);
    }
}

void ReadRoute(const nlmsghdr* message, std::map<int, std::string>& gateways)
{
    auto* route = static_cast<const rtmsg*>(NLMSG_DATA(message));
    int left = static_cast<int>(RTM_PAYLOAD(message));
    if (left < 0 || route->rtm_family != AF_INET || route->rtm_dst_len != 0 || route->rtm_type != RTN_UNICAST)
        return;
    unsigned table = route->rtm_table;
    int outInterface = 0;
    std::string gateway;
    const rtattr* multipath = nullptr;
    for (auto* attribute = RTM_RTA(route); RTA_OK(attribute, left); attribute = RTA_NEXT(attribute, left)) {
        switch (attribute->rta_type) {
        case RTA_TABLE: // tables above 255 only show here
            if (RTA_PAYLOAD(attribute) >= 4)
                std::memcpy(&table, RTA_DATA(attribute), 4);
            break;
        case RTA_OIF:
            if (RTA_PAYLOAD(attribute) >= 4)
                std::memcpy(&outInterface, RTA_DATA(attribute), 4);
            break;
        case RTA_GATEWAY:
            gateway = GatewayAttribute(attribute);
            break;
        case RTA_MULTIPATH:
            multipath = attribute;
            break;
        default:
            break;
        }
    }
    if (table != RT_TABLE_MAIN)
        return;
    Remember(gateways, outInterface, gateway);
    if (multipath)
        ReadNextHops(multipath, gateways);
}

bool SendDumpRequest(int fd, std::uint32_t sequence)
{
    struct {
        nlmsghdr header;
        rtmsg route;
    } request{};
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(rtmsg));
    request.header.nlmsg_type = RTM_GETROUTE;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    request.route.rtm_family = AF_INET;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    return sendto(fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel)
        == static_cast<ssize_t>(request.header.nlmsg_len);
}

// Reads one batch of replies; returns false on failure, sets done at the end of the dump.
bool ReadReplies(int fd, std::uint32_t sequence, std::vector<char>& buffer, bool& done,
                 std::map<int, std::string>& gateways)
{
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&entry, 1, kReplyWaitMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    sockaddr_nl from{};
    socklen_t fromLength = sizeof from;
    const ssize_t received = recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                                      &fromLength);
    if (received < 0)
        return errno == EINTR;
    if (from.nl_pid != 0)
        return true; // not from the kernel
    int left = static_cast<int>(received);
    for (auto* message = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(message, left);
         message = NLMSG_NEXT(message, left)) {
        if (message->nlmsg_seq != sequence)
            continue;
        if (message->nlmsg_type == NLMSG_DONE) {
            done = true;
            return true;
        }
        if (message->nlmsg_type == NLMSG_ERROR)
            return false;
        if (message->nlmsg_type == RTM_NEWROUTE)
            ReadRoute(message, gateways);
    }
    return true;
}

} // namespace

std::optional<std::map<int, std::string>> ReadDefaultGateways()
{
    const UniqueFd socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!socket.valid())
        return std::nullopt;
    const auto sequence = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()
                                                     & 0x7fffffff);
    if (!SendDumpRequest(socket.get(), sequence))
        return std::nullopt;
    // Large enough for any one batch the kernel sends (it fills up to a page or 32 KiB).
    std::vector<char> buffer(64 * 1024);
    std::map<int, std::string> gateways;
    bool done = false;
    while (!done) {
        if (!ReadReplies(socket.get(), sequence, buffer, done, gateways))
            return std::nullopt;
    }
    return gateways;
}
