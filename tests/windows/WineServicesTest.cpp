#include "platform/windows/WindowsEchoTest.h"
#include "platform/windows/WindowsWlan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Wine's WLAN service answers like a PC without a wireless adapter.
TEST(WindowsWlan, ClientOpensAndFindsNoInterface)
{
    WindowsWlan wlan;
    const auto client = wlan.openClient();
    ASSERT_TRUE(client.has_value());
    EXPECT_NE(*client, 0u);
    wlan.registerNotifications(*client, [] {});
    EXPECT_EQ(wlan.interfaceCount(*client), 0);
    EXPECT_TRUE(wlan.availableNetworks(*client).empty());
    wlan.unregisterNotifications(*client);
}

// Wine sends echo requests through a raw ICMP socket (root) or a ping socket
// (net.ipv4.ping_group_range); scripts/test-windows.sh says which one is open.
TEST(WindowsEchoTest, LoopbackAnswers)
{
    const char* allowed = std::getenv("HOPTRACE_WINE_ICMP");
    if (!allowed || std::string(allowed) != "1")
        GTEST_SKIP() << "ICMP sockets are not open to this user (not root, ping_group_range excludes its group)";
    EXPECT_TRUE(WindowsEchoTest().echo("127.0.0.1", 1, 2.0)) << "the address itself is no hop away";
}
