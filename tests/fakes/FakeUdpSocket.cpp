#include "FakeUdpSocket.h"

#include "VirtualTime.h"

bool FakeUdpSocket::bind(std::uint16_t)
{
    ++bindCalls;
    bound_ = bindSucceeds;
    return bound_;
}

void FakeUdpSocket::close()
{
    ++closeCalls;
    bound_ = false;
    waiting_.clear();
}

bool FakeUdpSocket::send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex)
{
    if (!sendSucceeds || interfaceIndex == refusingInterface)
        return false;
    sent.push_back({bytes, host, port, interfaceIndex, time_.elapsed()});
    if (loopBroadcasts && host == "255.255.255.255")
        deliver(bytes, 0.0, "192.168.1.2");
    if (onSend)
        onSend(sent.back());
    return true;
}

std::optional<Datagram> FakeUdpSocket::take()
{
    if (waiting_.empty()) {
        if (std::optional<std::string> more = stream ? stream() : std::nullopt)
            return Datagram{std::move(*more), "192.168.1.20"};
        return std::nullopt;
    }
    Datagram next = std::move(waiting_.front());
    waiting_.pop_front();
    return next;
}

void FakeUdpSocket::deliver(const std::string& bytes, double delaySeconds, const std::string& sender,
                            int interfaceIndex)
{
    time_.schedule(delaySeconds, [this, bytes, sender, interfaceIndex] {
        if (!bound_)
            return; // nobody listens on a closed socket
        waiting_.push_back({bytes, sender, interfaceIndex});
        if (onArrival_)
            onArrival_();
    });
}

void FakeUdpSocket::deliverBurst(const std::vector<std::string>& datagrams, double delaySeconds)
{
    time_.schedule(delaySeconds, [this, datagrams] {
        for (std::size_t i = 0; bound_ && i < datagrams.size(); ++i)
            waiting_.push_back({datagrams[i], "192.168.1.20"});
        if (bound_ && onArrival_)
            onArrival_();
    });
}
