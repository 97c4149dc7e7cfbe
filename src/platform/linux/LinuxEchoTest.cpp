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

std::optional<EchoMethod> LinuxEchoTest::lastMethod() const
{
    const std::lock_guard lock(mutex_);
    return lastMethod_;
}

bool LinuxEchoTest::echo(const std::string& dottedAddress, int maxHops, double timeoutSeconds)
{
    const auto decided = [this](std::optional<EchoMethod> method) {
        const std::lock_guard lock(mutex_);
        lastMethod_ = method;
    };
    decided(std::nullopt);
    const auto target = ParseDottedQuad(dottedAddress);
    if (!target || !CanHaveOneOwner(*target) || maxHops < 1 || maxHops > 255)
        return false;

    const std::uint16_t sequence = ++sequence_;
    for (EchoMethod method : methods_) {
        // ping reads "010" as octal: hand it the address as parsed here.
        const EchoOutcome outcome = method == EchoMethod::PingProgram
            ? RunPingProgram(DottedQuadText(*target), maxHops, timeoutSeconds)
            : SendIcmpEcho(method, *target, maxHops, timeoutSeconds, sequence);
        if (outcome == EchoOutcome::Unavailable)
            continue;
        decided(method);
        return outcome == EchoOutcome::Answered;
    }
    return false;
}
