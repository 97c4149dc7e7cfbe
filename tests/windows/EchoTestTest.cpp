#include "platform/windows/WindowsEchoTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Nothing here is sent anywhere but to 127.0.0.1.

TEST(WindowsEchoTest, TextThatIsNoSingleAddressIsFalseWithoutSending)
{
    WindowsEchoTest echo;
    // inet_addr gives 255.255.255.255 for most of these; nothing may go out for them.
    for (const char* text : {"", "192.168.1.", "192.168.1.1a", "not an address", "127.0.0.1 ", "255.255.255.255",
                             "224.0.0.1", "239.255.255.250", "240.0.0.1"}) {
        EXPECT_FALSE(echo.echo(text, 2, 1.0)) << '"' << text << '"';
    }
}

// Wine sends echo requests through a raw ICMP socket (root) or a ping socket
// (net.ipv4.ping_group_range); scripts/test-windows.sh says which one is open.
TEST(WindowsEchoTest, LoopbackAnswers)
{
    const char* allowed = std::getenv("HOPTRACE_WINE_ICMP");
    if (!allowed || std::string(allowed) != "1")
        GTEST_SKIP() << "ICMP sockets are not open to this user (not root, ping_group_range excludes its group)";
    WindowsEchoTest echo;
    EXPECT_TRUE(echo.echo("127.0.0.1", 2, 2.0));
    EXPECT_TRUE(echo.echo("127.0.0.1", 1, 2.0)) << "the address itself is no hop away";
}
