#pragma once

#include "SimDevice.h"

#include <QSocketNotifier>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct OutgoingReply;

// A UDP socket that reports where each datagram came in (destination address and
// interface) and sends each reply from a chosen source address through a chosen
// interface, so one process can answer as many devices. Address sharing is on, so its
// sockets for several device addresses can share the port.
class UdpEndpoint final {
public:
    // Nothing, with the system's reason in `error`, when the socket cannot be had.
    static std::unique_ptr<UdpEndpoint> open(const std::string& address, std::uint16_t port, std::string& error);
    ~UdpEndpoint();
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    // Called for every datagram, on the event loop's thread.
    void setArrivalHandler(std::function<void(const Arrival&)> onArrival) { onArrival_ = std::move(onArrival); }
    // False, with the reason, when the system refuses the send.
    bool send(const OutgoingReply& reply, std::string& error);

private:
    explicit UdpEndpoint(int fd);
    void readAll();
    bool sendFrom(const OutgoingReply& reply, bool withSource);

    int fd_;
    QSocketNotifier notifier_;
    std::function<void(const Arrival&)> onArrival_;
};
