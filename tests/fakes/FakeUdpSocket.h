#pragma once

#include "platform/UdpSocket.h"

#include <deque>
#include <functional>
#include <vector>

class VirtualTime;

// Records what the program sends and delivers datagrams at virtual moments.
class FakeUdpSocket final : public UdpSocket {
public:
    struct Sent {
        std::string bytes;
        std::string host;
        std::uint16_t port;
        int interfaceIndex;
        double at; // virtual seconds since the test began
    };

    explicit FakeUdpSocket(VirtualTime& time) : time_(time) { }

    bool bind(std::uint16_t port) override;
    bool isBound() const override { return bound_; }
    void close() override;
    bool enableBroadcast() override { return bound_; }
    bool send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex) override;
    std::optional<Datagram> take() override;
    void setArrivalHandler(std::function<void()> onArrival) override { onArrival_ = std::move(onArrival); }

    // Makes a datagram arrive after delaySeconds of virtual time (0: on the next yield).
    void deliver(const std::string& bytes, double delaySeconds = 0.0, const std::string& sender = "192.168.1.20",
                 int interfaceIndex = -1);
    // Several datagrams that are all waiting when one arrival event runs.
    void deliverBurst(const std::vector<std::string>& datagrams, double delaySeconds = 0.0);

    std::vector<Sent> sent;
    int bindCalls = 0;
    int closeCalls = 0;
    bool bindSucceeds = true;
    bool sendSucceeds = true;
    int refusingInterface = -2; // sends out of this adapter fail, as out of one that is down
    // The real socket hears its own broadcasts back on the shared port.
    bool loopBroadcasts = false;
    // Where more datagrams wait once the delivered ones are taken: a stream that does not
    // stop while the program reads (empty = nothing more).
    std::function<std::optional<std::string>()> stream;
    // Called after each recorded send, e.g. to let simulated devices answer.
    std::function<void(const Sent&)> onSend;

private:
    VirtualTime& time_;
    bool bound_ = false;
    std::deque<Datagram> waiting_;
    std::function<void()> onArrival_;
};
