#pragma once

#include "EchoMethod.h"
#include "platform/EchoTest.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

// Sends one ICMP echo request with the first method that can be used here: an unprivileged
// datagram socket, a raw socket, or the system's ping program. The first method that gets
// its request out decides; later ones are only tried when an earlier one is unavailable.
// Only a text of four decimal numbers 0-255 is pinged; any other text is "no answer"
// without anything being sent, as are 0.0.0.0/8, multicast and 255.255.255.255, where no
// single host can answer for the address.
class LinuxEchoTest final : public EchoTest {
public:
    LinuxEchoTest();
    // Tries only the given methods, in the given order.
    explicit LinuxEchoTest(std::vector<EchoMethod> methods);

    bool echo(const std::string& dottedAddress, int maxHops, double timeoutSeconds) override;

    // The method that decided the last answer; nothing when none was usable or nothing was sent.
    std::optional<EchoMethod> lastMethod() const;

private:
    std::vector<EchoMethod> methods_;
    // The window's ping test and the gateway sequence may each have an echo under way on
    // a thread of its own.
    mutable std::mutex mutex_;
    std::optional<EchoMethod> lastMethod_;
    std::atomic<std::uint16_t> sequence_ = 0;
};
