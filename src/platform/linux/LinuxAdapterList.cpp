#include "LinuxAdapterList.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {
std::string dotted(const sockaddr* sa)
{
    if (!sa || sa->sa_family != AF_INET)
        return "0.0.0.0";
    char buf[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, buf, sizeof buf);
    return buf;
}
} // namespace

std::optional<std::vector<AdapterInfo>> LinuxAdapterList::adapters()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;
    std::vector<AdapterInfo> result;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        if ((a->ifa_flags & IFF_LOOPBACK) || !a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        result.push_back({a->ifa_name, dotted(a->ifa_addr), dotted(a->ifa_netmask), "",
                          static_cast<int>(if_nametoindex(a->ifa_name))});
    }
    freeifaddrs(list);
    return result;
}
