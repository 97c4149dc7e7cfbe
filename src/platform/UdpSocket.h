#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct Datagram {
    std::string bytes;         // the payload, byte for byte
    std::string senderAddress; // dotted IPv4
    int interfaceIndex = -1;   // the adapter it arrived on; -1 when the system does not say
};

// The program's one UDP socket. Bound to every local address on one port, broadcast
// allowed, with a receive buffer large enough for bursts of replies.
class UdpSocket {
public:
    // The receive buffer the program asks for: a burst of a thousand replies fits.
    static constexpr int kProgramReceiveBufferBytes = 4 << 20;

    virtual ~UdpSocket() = default;
    // Bind to 0.0.0.0:port. False when the port cannot be had.
    virtual bool bind(std::uint16_t port) = 0;
    virtual bool isBound() const = 0;
    // Close it; replies still waiting in its buffer are lost.
    virtual void close() = 0;
    // Send one datagram to host:port. interfaceIndex >= 0 makes it leave through that
    // adapter (a limited broadcast otherwise leaves through one interface only).
    // False when the system refuses the send.
    virtual bool send(const std::string& bytes, const std::string& host, std::uint16_t port,
                      int interfaceIndex = -1) = 0;
    // The next waiting datagram, or nothing when none is waiting.
    virtual std::optional<Datagram> take() = 0;
    // Called on the window's thread when datagrams have arrived.
    virtual void setArrivalHandler(std::function<void()> onArrival) = 0;
};
