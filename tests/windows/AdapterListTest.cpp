#include "platform/windows/WindowsAdapterList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

struct HostAdapter {
    int index = 0;
    std::string address;
    std::string mask;
    std::string gateway; // empty: no default route through it
};

std::string MaskFromPrefix(int prefix)
{
    const unsigned long long bits = prefix == 0 ? 0 : (0xFFFFFFFFull << (32 - prefix)) & 0xFFFFFFFFull;
    std::ostringstream out;
    out << (bits >> 24) << '.' << ((bits >> 16) & 255) << '.' << ((bits >> 8) & 255) << '.' << (bits & 255);
    return out.str();
}

// HOPTRACE_HOST_ADAPTERS, written by scripts/test-windows.sh from the host's `ip`:
// "index name address/prefix gateway-or-dash" entries joined by ';', first address of
// each interface, loopback left out.
std::map<std::string, HostAdapter> HostAdapters(const char* text)
{
    std::map<std::string, HostAdapter> result;
    std::istringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        std::istringstream fields(entry);
        HostAdapter host;
        std::string name, cidr, gateway;
        if (!(fields >> host.index >> name >> cidr >> gateway))
            continue;
        const auto slash = cidr.find('/');
        host.address = cidr.substr(0, slash);
        host.mask = MaskFromPrefix(std::stoi(cidr.substr(slash + 1)));
        host.gateway = gateway == "-" ? "" : gateway;
        result.emplace(name, host);
    }
    return result;
}

} // namespace

TEST(WindowsAdapterList, ListsTheHostsInterfacesWithTheirAddresses)
{
    const char* hostText = std::getenv("HOPTRACE_HOST_ADAPTERS");
    if (!hostText)
        GTEST_SKIP() << "HOPTRACE_HOST_ADAPTERS not given (run through scripts/test-windows.sh)";
    const auto host = HostAdapters(hostText);

    WindowsAdapterList list;
    const auto adapters = list.adapters();
    ASSERT_TRUE(adapters.has_value());

    // Wine names each adapter after its host interface; interfaces without an IPv4
    // address are listed as 0.0.0.0, as Windows lists them.
    std::map<std::string, AdapterInfo> withAddress;
    for (const AdapterInfo& adapter : *adapters) {
        EXPECT_GT(adapter.interfaceIndex, 0) << adapter.description;
        EXPECT_NE(adapter.ipAddress, "127.0.0.1") << "loopback is not listed";
        if (adapter.ipAddress != "0.0.0.0")
            withAddress.emplace(adapter.description, adapter);
    }
    ASSERT_EQ(withAddress.size(), host.size());
    for (const auto& [name, expected] : host) {
        SCOPED_TRACE(name);
        const auto found = withAddress.find(name);
        ASSERT_NE(found, withAddress.end());
        const AdapterInfo& adapter = found->second;
        EXPECT_EQ(adapter.interfaceIndex, expected.index);
        EXPECT_EQ(adapter.ipAddress, expected.address);
        EXPECT_EQ(adapter.ipMask, expected.mask);
        // Without a default route the platform reports 0.0.0.0 (or leaves it empty).
        if (!expected.gateway.empty())
            EXPECT_EQ(adapter.gateway, expected.gateway);
        else
            EXPECT_TRUE(adapter.gateway == "0.0.0.0" || adapter.gateway.empty()) << adapter.gateway;
    }
}
