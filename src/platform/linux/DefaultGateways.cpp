#include "DefaultGateways.h"

#include "NetlinkDump.h"

#include <arpa/inet.h>
#include <cstring>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

namespace {

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

} // namespace

std::optional<std::map<int, std::string>> ReadDefaultGateways()
{
    std::map<int, std::string> gateways;
    const bool whole = NetlinkDump(RTM_GETROUTE, sizeof(rtmsg), [&gateways](const nlmsghdr& message) {
        if (message.nlmsg_type == RTM_NEWROUTE)
            ReadRoute(&message, gateways);
    });
    if (!whole)
        return std::nullopt;
    return gateways;
}
