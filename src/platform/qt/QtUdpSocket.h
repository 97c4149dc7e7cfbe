#pragma once

#include "platform/UdpSocket.h"

#include <QUdpSocket>

class QtUdpSocket final : public UdpSocket {
public:
    explicit QtUdpSocket(int receiveBufferBytes = kProgramReceiveBufferBytes);
    bool bind(std::uint16_t port) override;
    bool isBound() const override;
    void close() override;
    bool send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex) override;
    std::optional<Datagram> take() override;
    void setArrivalHandler(std::function<void()> onArrival) override;

private:
    const int receiveBufferBytes_;
    QUdpSocket socket_;
    std::function<void()> onArrival_;
};
