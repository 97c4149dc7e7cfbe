#include "LinuxAdapterList.h"

#include "DefaultGateways.h"

#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <map>
#include <net/if.h>
#include <netinet/in.h>

namespace {

std::string Dotted(const sockaddr* address)
{
    if (!address || address->sa_family != AF_INET)
        return "0.0.0.0";
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    return text;
}

// An address added with a label ("eth0:1") belongs to the interface before the colon;
// interface names themselves cannot hold one.
std::string InterfaceOfLabel(const char* label)
{
    std::string name = label ? label : "";
    return name.substr(0, name.find(':'));
}

struct Interface {
    int index = 0;
    std::string name;
    std::string address = "0.0.0.0";
    std::string mask = "0.0.0.0";
    bool hasAddress = false;
};

} // namespace

std::optional<std::vector<AdapterInfo>> LinuxAdapterList::adapters()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;

    // Every link shows once as an entry of its own, with or without IPv4 addresses: an
    // AF_PACKET address for links with a hardware address, none for the others (tun,
    // WireGuard). The IPv4 entries follow in the kernel's address order, so the first one
    // per interface is its primary address.
    std::map<std::string, Interface> byName;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        const int family = entry->ifa_addr ? entry->ifa_addr->sa_family : AF_UNSPEC;
        if (family != AF_PACKET && family != AF_UNSPEC && family != AF_INET)
            continue;
        const std::string name = InterfaceOfLabel(entry->ifa_name);
        Interface& link = byName[name];
        if (link.name.empty()) {
            link.name = name;
            link.index = family == AF_PACKET ? reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr)->sll_ifindex
                                             : static_cast<int>(if_nametoindex(name.c_str()));
        }
        if (family == AF_INET && !link.hasAddress) {
            link.address = Dotted(entry->ifa_addr);
            link.mask = Dotted(entry->ifa_netmask);
            link.hasAddress = true;
        }
    }
    freeifaddrs(list);

    const auto gateways = ReadDefaultGateways();
    if (!gateways)
        return std::nullopt;

    std::vector<Interface> ordered;
    for (auto& [name, link] : byName) {
        if (link.index > 0) // 0: gone while being listed
            ordered.push_back(link);
    }
    std::sort(ordered.begin(), ordered.end(), [](const Interface& a, const Interface& b) { return a.index < b.index; });

    std::vector<AdapterInfo> adapters;
    for (const Interface& link : ordered) {
        const auto gateway = gateways->find(link.index);
        adapters.push_back({link.name, link.address, link.mask,
                            gateway == gateways->end() ? std::string() : gateway->second, link.index});
    }
    return adapters;
}
