#include "WindowsEchoTest.h"

#include "platform/DottedQuad.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <algorithm>
#include <array>
#include <cmath>

// Why IcmpSendEcho2 and not GetRTTAndHopCount: GetRTTAndHopCount has no time-out of
// its own (it probes hop by hop with fixed internal waits), does not say who answered,
// and is missing (a stub that always fails) on some Windows-compatible systems. One
// echo request with TTL = maxHops and the caller's time-out gives the same answer —
// a host further than maxHops away lets the TTL expire and a router answers instead —
// and lets the reply's source be checked against the target.

namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
constexpr std::uint32_t kFirstMulticast = 0xE0000000u; // 224.0.0.0; class E follows

// A group or broadcast address is answered by others, never by "the address itself".
bool IsSingleHost(std::uint32_t address) { return address != kLimitedBroadcast && address < kFirstMulticast; }

DWORD TimeoutMilliseconds(double seconds)
{
    constexpr double kMaxMs = 600000.0; // ten minutes; nothing here waits longer
    if (!(seconds > 0))
        return 1;
    return static_cast<DWORD>(std::clamp(std::ceil(seconds * 1000.0), 1.0, kMaxMs));
}

} // namespace

bool WindowsEchoTest::echo(const std::string& dottedAddress, int maxHops, double timeoutSeconds)
{
    // inet_addr would turn a typing slip into 255.255.255.255 and send a broadcast.
    const auto target = ParseDottedQuad(dottedAddress);
    if (!target || !IsSingleHost(*target))
        return false;

    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return false;

    IP_OPTION_INFORMATION options{};
    options.Ttl = static_cast<UCHAR>(std::clamp(maxHops, 1, 255));
    char payload[32] = "Hoptrace echo test";
    // Room for the reply record, the echoed payload, an ICMP error's 8 bytes and the
    // I/O status block the documentation asks for; whole records keep it aligned.
    std::array<ICMP_ECHO_REPLY, 4> replies{};
    const IPAddr destination = htonl(*target);

    const DWORD count = IcmpSendEcho2(icmp, nullptr, nullptr, nullptr, destination, payload, sizeof payload, &options,
                                      replies.data(), sizeof replies, TimeoutMilliseconds(timeoutSeconds));
    // A TTL-expired or unreachable report comes from a router: only the target's own
    // echo reply counts.
    const bool answered = count > 0 && replies[0].Status == IP_SUCCESS && replies[0].Address == destination;
    IcmpCloseHandle(icmp);
    return answered;
}
