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

// An address added with a label ("eth0:1") belongs to the interface before the colon.
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

    // Every link shows once as an AF_PACKET entry, with or without IPv4 addresses; the
    // IPv4 entries follow in the kernel's address order, so the first one per interface
    // is its primary address.
    std::map<std::string, Interface> byName;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || !entry->ifa_name || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        if (entry->ifa_addr->sa_family == AF_PACKET) {
            Interface& link = byName[entry->ifa_name];
            link.name = entry->ifa_name;
            link.index = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr)->sll_ifindex;
        }
    }
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        auto link = byName.find(InterfaceOfLabel(entry->ifa_name));
        if (link == byName.end() || link->second.hasAddress)
            continue;
        link->second.address = Dotted(entry->ifa_addr);
        link->second.mask = Dotted(entry->ifa_netmask);
        link->second.hasAddress = true;
    }
    freeifaddrs(list);

    const auto gateways = ReadDefaultGateways();
    if (!gateways)
        return std::nullopt;

    std::vector<Interface> ordered;
    for (auto& [name, link] : byName)
        ordered.push_back(link);
    std::sort(ordered.begin(), ordered.end(),
              [](const Interface& a, const Interface& b) { return a.index < b.index; });

    std::vector<AdapterInfo> adapters;
    for (const Interface& link : ordered) {
        const auto gateway = gateways->find(link.index);
        adapters.push_back({link.name, link.address, link.mask,
                            gateway == gateways->end() ? std::string() : gateway->second, link.index});
    }
    return adapters;
}
