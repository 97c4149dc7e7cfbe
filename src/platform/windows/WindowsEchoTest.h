#pragma once

#include "platform/EchoTest.h"

// One ICMP echo request through IP Helper's IcmpSendEcho2.
class WindowsEchoTest final : public EchoTest {
public:
    bool echo(const std::string& dottedAddress, int maxHops, double timeoutSeconds) override;
};
