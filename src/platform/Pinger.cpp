#include "Pinger.h"

#include "platform/DottedQuad.h"
#include "platform/EchoTest.h"

namespace {
// The answer must come from the local network or from just behind its router, and
// the technician waits for it (the Ping button, the gateway sequence), so the wait stays short.
constexpr int kMaxHops = 2;
constexpr double kEchoWaitSeconds = 1.0;
} // namespace

Pinger::Pinger(EchoTest& echo) : echo_(&echo) { }

bool Pinger::Ping(const std::string& address) const
{
    // The system's address conversion turns a malformed text into 255.255.255.255;
    // pinging that would ask the whole network instead of one device.
    const auto parsed = ParseDottedQuad(address);
    return parsed && echo_->echo(DottedQuadText(*parsed), kMaxHops, kEchoWaitSeconds);
}
