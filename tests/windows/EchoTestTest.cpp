#include "platform/windows/WindowsEchoTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Wine sends echo requests through a raw ICMP socket (root) or a ping socket
// (net.ipv4.ping_group_range); scripts/test-windows.sh says which one is open.
// Nothing is sent anywhere but to 127.0.0.1.
TEST(WindowsEchoTest, LoopbackAnswers)
{
    const char* allowed = std::getenv("HOPTRACE_WINE_ICMP");
    if (!allowed || std::string(allowed) != "1")
        GTEST_SKIP() << "ICMP sockets are not open to this user (not root, ping_group_range excludes its group)";
    EXPECT_TRUE(WindowsEchoTest().echo("127.0.0.1", 1, 2.0)) << "the address itself is no hop away";
}
