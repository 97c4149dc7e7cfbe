#include "platform/windows/WindowsAdapterList.h"
#include "platform/DottedQuad.h"
#include "platform/windows/WindowsEchoTest.h"
#include "platform/windows/WindowsNeighbourTable.h"
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

// Wine's iphlpapi.dll lacks ResolveIpNetEntry2: there the question is Unknown, and the table
// decides, without a crash. Where the call exists the peer answers and the unused address does not.
TEST(WindowsNeighbourTable, AsksTheLinkWhereTheSystemCan)
{
    const std::string peer = std::getenv("HOPTRACE_WINE_ECHO_PEER") ? std::getenv("HOPTRACE_WINE_ECHO_PEER") : "";
    if (peer.empty())
        GTEST_SKIP() << "HOPTRACE_WINE_ECHO_PEER not given (run through scripts/test-windows.sh)";
    int link = -1;
    for (const AdapterInfo& a : WindowsAdapterList().adapters().value_or(std::vector<AdapterInfo>()))
        if (OnSameSubnet(peer, a.ipAddress, a.ipMask))
            link = a.interfaceIndex;
    ASSERT_GT(link, 0);
    using Resolution = NeighbourTable::Resolution;
    WindowsNeighbourTable neighbours;
    const Resolution present = neighbours.resolveNow(peer, link);
    const Resolution unused = neighbours.resolveNow(peer.substr(0, peer.rfind('.')) + ".99", link);
    EXPECT_EQ(present, unused == Resolution::Unknown ? Resolution::Unknown : Resolution::Answered);
    EXPECT_NE(unused, Resolution::Answered);
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
