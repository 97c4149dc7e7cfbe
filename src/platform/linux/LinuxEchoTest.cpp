#include "LinuxEchoTest.h"

#include "platform/DottedQuad.h"
#include "IcmpEcho.h"
#include "PingProgramEcho.h"

namespace {

bool CanHaveOneOwner(std::uint32_t address)
{
    const std::uint32_t firstOctet = address >> 24;
    return firstOctet != 0 && (firstOctet < 224 || firstOctet > 239) && address != 0xffffffffU;
}

} // namespace

LinuxEchoTest::LinuxEchoTest()
    : LinuxEchoTest({EchoMethod::DatagramSocket, EchoMethod::RawSocket, EchoMethod::PingProgram})
{ }

LinuxEchoTest::LinuxEchoTest(std::vector<EchoMethod> methods) : methods_(std::move(methods)) { }

bool LinuxEchoTest::echo(const std::string& dottedAddress, int maxHops, double timeoutSeconds)
{
    lastMethod_.reset();
    const auto target = ParseDottedQuad(dottedAddress);
    if (!target || !CanHaveOneOwner(*target) || maxHops < 1 || maxHops > 255)
        return false;

    ++sequence_;
    for (EchoMethod method : methods_) {
        // ping reads "010" as octal: hand it the address as parsed here.
        const EchoOutcome outcome = method == EchoMethod::PingProgram
            ? RunPingProgram(DottedQuadText(*target), maxHops, timeoutSeconds)
            : SendIcmpEcho(method, *target, maxHops, timeoutSeconds, sequence_);
        if (outcome == EchoOutcome::Unavailable)
            continue;
        lastMethod_ = method;
        return outcome == EchoOutcome::Answered;
    }
    return false;
}
