#include "ArpingProgram.h"

#include "ChildProcess.h"

namespace {

// Requests go out a second apart and a host on the link answers within milliseconds; the
// technician waits for this on top of the echo.
constexpr int kArpWaitSeconds = 2;
// Time allowed for arping to start and end on top of its own wait.
constexpr double kStartupAllowanceSeconds = 2.0;

} // namespace

bool ArpingIsIputils()
{
    const ChildOutcome outcome = RunChildProcess({"arping", "-V"}, kStartupAllowanceSeconds, ChildOutput::Capture);
    return outcome.kind == ChildOutcome::Kind::Exited && outcome.code == 0
        && outcome.output.find("iputils") != std::string::npos;
}

NeighbourTable::Resolution RunArping(const std::string& interfaceName, const std::string& dottedAddress)
{
    const ChildOutcome outcome = RunChildProcess(
        {"arping", "-f", "-w", std::to_string(kArpWaitSeconds), "-I", interfaceName, dottedAddress},
        kArpWaitSeconds + kStartupAllowanceSeconds, ChildOutput::Discard);
    if (outcome.kind != ChildOutcome::Kind::Exited)
        return NeighbourTable::Resolution::Unknown;
    // 2 and above: no such interface, one that takes no ARP, no raw socket, ...
    switch (outcome.code) {
    case 0:
        return NeighbourTable::Resolution::Answered;
    case 1:
        return NeighbourTable::Resolution::Unanswered;
    default:
        return NeighbourTable::Resolution::Unknown;
    }
}
