#include "platform/windows/WindowsWlan.h"

#include <gtest/gtest.h>

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

    // A second client works as well; the first is never closed.
    EXPECT_TRUE(wlan.openClient().has_value());
}

TEST(WindowsWlan, ZeroHandleIsRefusedHarmlessly)
{
    WindowsWlan wlan;
    wlan.unregisterNotifications(0);
    wlan.registerNotifications(0, [] {});
    EXPECT_EQ(wlan.interfaceCount(0), 0);
    EXPECT_TRUE(wlan.availableNetworks(0).empty());
}
