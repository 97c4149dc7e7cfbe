#pragma once

#include "EchoMethod.h"

#include <string>

// Runs the system's ping once ("ping -c 1 -t <ttl> -W <seconds> -n -q <address>"), which
// exits with 0 only when the address itself answered. Unavailable when ping cannot be started.
EchoOutcome RunPingProgram(const std::string& dottedAddress, int ttl, double timeoutSeconds);
