#pragma once

#include "platform/UdpSocket.h"

#include <QObject>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

// The program's UDP socket on Linux. A receiver thread blocks on the socket and takes
// whatever has arrived in batches (recvmmsg), so the kernel's buffer is emptied as fast
// as datagrams come, whatever the window is doing; the window thread takes them from a
// queue. The port is held exclusively: no other socket may share it.
class LinuxUdpSocket final : public UdpSocket {
public:
    // receiveBufferBytes: what the socket asks of the kernel, which caps it at
    // net.core.rmem_max (and doubles it for its own bookkeeping).
    explicit LinuxUdpSocket(int receiveBufferBytes);
    ~LinuxUdpSocket() override;
    LinuxUdpSocket(const LinuxUdpSocket&) = delete;
    LinuxUdpSocket& operator=(const LinuxUdpSocket&) = delete;

    bool bind(std::uint16_t port) override;
    bool isBound() const override { return fd_ >= 0; }
    void close() override;
    bool send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex) override;
    std::optional<Datagram> take() override;
    void setArrivalHandler(std::function<void()> onArrival) override;

private:
    void receive(int fd, int wakeFd);
    void enqueue(std::deque<Datagram>& batch);
    // Lets the window thread know (once until it has looked) that datagrams wait.
    void announce();

    const int receiveBufferBytes_;
    int fd_ = -1;
    int wakeFd_ = -1; // eventfd that ends the receiver's wait
    std::thread receiver_;

    std::mutex mutex_;
    std::deque<Datagram> queue_;
    std::size_t queuedBytes_ = 0;
    std::atomic<bool> arrivalPosted_{false};

    std::function<void()> onArrival_;
    QObject windowThread_; // queued calls to it run on the thread that made the socket
};
