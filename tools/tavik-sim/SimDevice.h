#pragma once

#include "DeviceConfig.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// One datagram as the simulator received it.
struct Arrival {
    std::string bytes;
    std::string senderAddress;
    std::uint16_t senderPort = 0;
    // The address the datagram was sent to: a device's own, or a broadcast address.
    std::string destinationAddress;
    // The interface it came in on; -1 when unknown.
    int interfaceIndex = -1;
};

// What a device did with a datagram.
struct Reaction {
    enum class Kind { Ignored, Listed, Rebooting, DefaultsRestored, SetIP, SetDHCP };
    Kind kind = Kind::Ignored;
    std::optional<std::string> reply; // the reply block, for a list request or a confirmed setup
    std::string addressBefore;        // the device's address before the datagram
};

// One webserver, without sockets: it answers list requests with its block, reboots on
// a Reboot sent to its own address, restores its first settings on Default, and takes a
// new configuration from SetIP/SetDHCP carrying its MAC tail (with confirm=yes it answers
// them with its new block). After a reboot command it is silent for a while. It answers
// requests only: replies, its own datagrams and anything unknown get no answer, so two
// simulators can never talk each other into a flood.
class SimDevice final {
public:
    // interfaceIndex: the interface the device sits on, -1 for every interface.
    SimDevice(DeviceConfig config, int interfaceIndex, double rebootSeconds);

    // `now` in seconds on any steady clock.
    Reaction onDatagram(const Arrival& arrival, double now);

    // The reply block: labelled lines "Label : value", each ending CR LF, but for the lines the
    // device omits; without its Firmware line the block ends right after its last value.
    std::string replyBlock() const;
    bool isSilent(double now) const { return now < silentUntil_; }
    const DeviceConfig& config() const { return config_; }
    int interfaceIndex() const { return interfaceIndex_; }

private:
    bool hears(const Arrival& arrival, double now) const;
    bool isAddressedByMac(const std::array<std::uint8_t, 3>& macTail) const;
    void reboot(double now) { silentUntil_ = now + rebootSeconds_; }

    const DeviceConfig defaults_;
    DeviceConfig config_;
    const int interfaceIndex_;
    const double rebootSeconds_;
    double silentUntil_ = -1e300;
};
