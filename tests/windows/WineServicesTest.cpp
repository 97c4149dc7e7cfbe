#include "platform/windows/WindowsAdapterList.h"
#include "platform/windows/WindowsEchoTest.h"
#include "platform/windows/WindowsWlan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

// Wine's WLAN service answers like a PC without a wireless adapter.
TEST(WindowsWlan, ClientOpensAndFindsNoInterface)
{
    WindowsWlan wlan;
    const auto client = wlan.openClient();
    ASSERT_TRUE(client.has_value());
    EXPECT_EQ(wlan.interfaceCount(*client), 0);
    EXPECT_TRUE(wlan.availableNetworks(*client).empty());
}

// HOPTRACE_WINE_ECHO_PEER: a neighbour in scripts/test-windows.sh's private network; the
// address .99 on its link is unused, and silence there must not count as an answer.
TEST(WindowsEchoTest, NeighbourAnswersAndUnusedAddressDoesNot)
{
    const std::string peer = std::getenv("HOPTRACE_WINE_ECHO_PEER") ? std::getenv("HOPTRACE_WINE_ECHO_PEER") : "";
    if (peer.empty())
        GTEST_SKIP() << "HOPTRACE_WINE_ECHO_PEER not given (run through scripts/test-windows.sh)";
    EXPECT_TRUE(WindowsEchoTest().echo(peer, 1, 2.0));
    EXPECT_FALSE(WindowsEchoTest().echo(peer.substr(0, peer.rfind('.')) + ".99", 1, 1.0));
}

// HOPTRACE_HOST_ADAPTERS: what scripts/test-windows.sh's private network holds by `ip`, as
// "name #index address/mask gw gateway-or-dash;" per interface with IPv4 (no loopback). Wine
// names each adapter after its host interface and lists those without IPv4 as 0.0.0.0.
TEST(WindowsAdapterList, ListsTheHostsInterfacesWithTheirAddresses)
{
    const char* host = std::getenv("HOPTRACE_HOST_ADAPTERS");
    if (!host)
        GTEST_SKIP() << "HOPTRACE_HOST_ADAPTERS not given (run through scripts/test-windows.sh)";
    const auto adapters = WindowsAdapterList().adapters();
    ASSERT_TRUE(adapters.has_value());
    std::map<int, std::string> listed; // by index, as `ip` lists them
    for (const AdapterInfo& a : *adapters) {
        // Without a default route through it the platform says 0.0.0.0 (or nothing).
        const std::string gateway = a.gateway.empty() || a.gateway == "0.0.0.0" ? "-" : a.gateway;
        if (a.ipAddress != "0.0.0.0")
            listed[a.interfaceIndex] = a.description + " #" + std::to_string(a.interfaceIndex) + " " + a.ipAddress + "/"
                + a.ipMask + " gw " + gateway + ";";
    }
    std::string text;
    for (const auto& [index, line] : listed)
        text += line;
    EXPECT_EQ(text, host);
}
