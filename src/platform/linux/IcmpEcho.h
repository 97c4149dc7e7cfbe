#pragma once

#include "EchoMethod.h"

#include <cstdint>

// Sends one echo request to target (host byte order) with the given TTL over an ICMP
// datagram or raw socket and waits, with poll(), until the matching reply comes or
// timeoutSeconds pass. Only an echo reply from target itself with this request's id,
// sequence number and payload counts; a router's Time-exceeded does not.
EchoOutcome SendIcmpEcho(EchoMethod socketKind, std::uint32_t target, int ttl, double timeoutSeconds,
                         std::uint16_t sequence);
