#include "platform/windows/Ipv4Text.h"

#include <gtest/gtest.h>

TEST(Ipv4Text, AcceptsFourDecimalNumbersUpTo255)
{
    EXPECT_EQ(ParseDottedIpv4("192.168.1.125"), 0xC0A8017Du);
    EXPECT_EQ(ParseDottedIpv4("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(ParseDottedIpv4("0.0.0.0"), 0u);
    EXPECT_EQ(ParseDottedIpv4("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseDottedIpv4("010.1.1.1"), 0x0A010101u) << "leading zeros stay decimal";
}

// Each of these would become some other address (often the broadcast address) through
// inet_addr, or is what the ping box lets through when a user types.
TEST(Ipv4Text, RejectsEverythingElse)
{
    for (const char* text : {"", "192.168.1.", "192.168.1.1a", "192.168.1", "192.168.1.1.1", "192.168.1.256",
                             "192.168.-1.1", " 192.168.1.1", "192.168.1.1 ", "192.168..1", "0x7f.0.0.1", "127.1",
                             "1234.1.1.1", "1.2.3.0004", "a.b.c.d", "192,168,1,1"}) {
        EXPECT_FALSE(ParseDottedIpv4(text).has_value()) << '"' << text << '"';
    }
}
