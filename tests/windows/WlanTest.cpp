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
}
