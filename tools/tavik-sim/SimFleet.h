#pragma once

#include "SimDevice.h"

#include <functional>
#include <string>
#include <vector>

// A reply to send: the device's block, from the device's address, after a delay.
struct OutgoingReply {
    std::string bytes;
    std::string sourceAddress;      // the replying device's address
    std::string destinationAddress; // the requester, or the limited broadcast address
    std::uint16_t destinationPort = 0;
    int interfaceIndex = -1; // leave through the interface the request came in on
    int delayMs = 0;
    std::size_t device = 0; // index into devices()
};

// A device that took a new address: the simulator moves the address on its interface.
struct AddressMove {
    std::size_t device = 0;
    std::string from;
    std::string to;
};

struct FleetResponse {
    std::vector<OutgoingReply> replies;
    std::vector<AddressMove> moves;
    std::vector<std::size_t> rebooting; // devices now silent for a reboot
    std::vector<std::string> log;       // one line per device that acted
};

// Every simulated device behind one socket: hands each datagram to each device and
// collects what they send back.
class SimFleet final {
public:
    enum class ReplyMode { Unicast, Broadcast };
    // Draws the extra delay of one reply, 0..jitterMs.
    using JitterSource = std::function<int(int jitterMs)>;

    SimFleet(std::vector<SimDevice> devices, ReplyMode mode, JitterSource jitter);

    FleetResponse onDatagram(const Arrival& arrival, double now);

    const std::vector<SimDevice>& devices() const { return devices_; }
    // Whether one of the devices holds this address now.
    bool isDeviceAddress(const std::string& address) const;

private:
    std::vector<SimDevice> devices_;
    ReplyMode mode_;
    JitterSource jitter_;
};
