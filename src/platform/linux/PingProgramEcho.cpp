#include "PingProgramEcho.h"

#include "ChildProcess.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Time allowed for ping to start and print on top of its own waiting time.
constexpr double kStartupAllowanceSeconds = 2.0;

std::string SecondsText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

} // namespace

EchoOutcome RunPingProgram(const std::string& dottedAddress, int ttl, double timeoutSeconds)
{
    // ping refuses a waiting time of 0; a millisecond is the smallest it takes.
    const double wait = std::isfinite(timeoutSeconds) ? std::clamp(timeoutSeconds, 0.001, 3600.0) : 0.001;
    const ChildOutcome outcome = RunChildProcess(
        {"ping", "-c", "1", "-t", std::to_string(ttl), "-W", SecondsText(wait), "-n", "-q", dottedAddress},
        wait + kStartupAllowanceSeconds, ChildOutput::Discard);
    switch (outcome.kind) {
    case ChildOutcome::Kind::NotStarted:
        return EchoOutcome::Unavailable;
    case ChildOutcome::Kind::Exited:
        return outcome.code == 0 ? EchoOutcome::Answered : EchoOutcome::NotAnswered;
    case ChildOutcome::Kind::Signalled:
    case ChildOutcome::Kind::TimedOut:
        break;
    }
    return EchoOutcome::NotAnswered;
}
