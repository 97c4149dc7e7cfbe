#pragma once

#include <string>

// ICMP echo test limited in hops. Echoes may be under way on several threads at once.
class EchoTest {
public:
    virtual ~EchoTest() = default;
    // True only when dottedAddress itself answers an echo request sent with the
    // given TTL within timeoutSeconds. Blocks the caller for at most about that long.
    virtual bool echo(const std::string& dottedAddress, int maxHops, double timeoutSeconds) = 0;
};
