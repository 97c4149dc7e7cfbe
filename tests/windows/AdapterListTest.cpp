#include "platform/windows/WindowsAdapterList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

std::string Describe(int index, const std::string& address, const std::string& mask, const std::string& gateway)
{
    std::ostringstream text;
    text << '#' << index << ' ' << address << '/' << mask << " gw " << gateway;
    return text.str();
}

} // namespace

// HOPTRACE_HOST_ADAPTERS, written by scripts/test-windows.sh from the host's `ip`, holds
// "index name address/prefix gateway-or-dash;" per interface (first address, no loopback).
// Wine names each adapter after its host interface and lists those without IPv4 as 0.0.0.0.
TEST(WindowsAdapterList, ListsTheHostsInterfacesWithTheirAddresses)
{
    const char* hostText = std::getenv("HOPTRACE_HOST_ADAPTERS");
    if (!hostText)
        GTEST_SKIP() << "HOPTRACE_HOST_ADAPTERS not given (run through scripts/test-windows.sh)";
    std::map<std::string, std::string> host, listed;
    std::istringstream entries(hostText);
    for (std::string entry; std::getline(entries, entry, ';');) {
        int index = 0, prefix = 0;
        char name[64], address[16], gateway[16], mask[16];
        if (std::sscanf(entry.c_str(), "%d %63s %15[0-9.]/%d %15s", &index, name, address, &prefix, gateway) != 5)
            continue;
        const unsigned bits = prefix == 0 ? 0 : ~0u << (32 - prefix);
        std::snprintf(mask, sizeof mask, "%u.%u.%u.%u", bits >> 24, bits >> 16 & 255, bits >> 8 & 255, bits & 255);
        host[name] = Describe(index, address, mask, gateway == std::string("-") ? "" : gateway);
    }

    const auto adapters = WindowsAdapterList().adapters();
    ASSERT_TRUE(adapters.has_value());
    for (const AdapterInfo& a : *adapters) {
        // Without a default route through it the platform says 0.0.0.0 (or nothing).
        const std::string gateway = a.gateway == "0.0.0.0" ? "" : a.gateway;
        if (a.ipAddress != "0.0.0.0")
            listed[a.description] = Describe(a.interfaceIndex, a.ipAddress, a.ipMask, gateway);
    }
    EXPECT_EQ(listed, host);
}
