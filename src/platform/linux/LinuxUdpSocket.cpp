#include "LinuxUdpSocket.h"

#include <QMetaObject>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {
// Datagrams one recvmmsg call may take, each up to the largest UDP payload.
constexpr unsigned kBatch = 32;
constexpr std::size_t kLargestDatagram = 65536;
// The queue holds at most this much; beyond it a reader that has fallen this far behind
// loses the newest datagrams, as a full socket buffer would.
constexpr std::size_t kQueueLimitBytes = 64u << 20;
// What one queued datagram costs besides its payload.
constexpr std::size_t kPerDatagramBytes = 96;
// The window thread hears of datagrams after this much quiet on the socket ...
constexpr int kQuietMs = 2;
// ... or at the latest this long after the first it has not heard of.
constexpr int kLongestUnannouncedMs = 50;

int InterfaceIndexOf(msghdr& header)
{
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(c), sizeof info);
            return info.ipi_ifindex > 0 ? info.ipi_ifindex : -1;
        }
    }
    return -1;
}
} // namespace

LinuxUdpSocket::LinuxUdpSocket(int receiveBufferBytes) : receiveBufferBytes_(receiveBufferBytes) { }

LinuxUdpSocket::~LinuxUdpSocket() { close(); }

bool LinuxUdpSocket::bind(std::uint16_t port)
{
    close();
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes_, sizeof receiveBufferBytes_);
    setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on); // the adapter of each datagram
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    const int wakeFd = eventfd(0, EFD_CLOEXEC);
    if (wakeFd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        if (wakeFd >= 0)
            ::close(wakeFd);
        return false;
    }
    fd_ = fd;
    wakeFd_ = wakeFd;
    receiver_ = std::thread([this, fd, wakeFd] { receive(fd, wakeFd); });
    return true;
}

void LinuxUdpSocket::close()
{
    if (fd_ < 0)
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    receiver_.join();
    ::close(fd_);
    ::close(wakeFd_);
    fd_ = wakeFd_ = -1;
    const std::lock_guard lock(mutex_);
    queue_.clear(); // what waited in the buffer is lost with the socket
    queuedBytes_ = 0;
}

bool LinuxUdpSocket::send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (fd_ < 0 || inet_pton(AF_INET, host.c_str(), &to.sin_addr) != 1)
        return false;
    iovec payload{const_cast<char*>(bytes.data()), bytes.size()};
    msghdr header{};
    header.msg_name = &to;
    header.msg_namelen = sizeof to;
    header.msg_iov = &payload;
    header.msg_iovlen = 1;
    // The index chooses the adapter a limited broadcast leaves through; the kernel
    // picks the source address of that adapter.
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (interfaceIndex >= 0) {
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        cmsghdr* c = CMSG_FIRSTHDR(&header);
        c->cmsg_level = IPPROTO_IP;
        c->cmsg_type = IP_PKTINFO;
        c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_ifindex = interfaceIndex;
        std::memcpy(CMSG_DATA(c), &info, sizeof info);
    }
    return ::sendmsg(fd_, &header, MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

std::optional<Datagram> LinuxUdpSocket::take()
{
    const std::lock_guard lock(mutex_);
    if (queue_.empty())
        return std::nullopt;
    Datagram next = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= next.bytes.size() + kPerDatagramBytes;
    return next;
}

void LinuxUdpSocket::setArrivalHandler(std::function<void()> onArrival) { onArrival_ = std::move(onArrival); }

void LinuxUdpSocket::receive(int fd, int wakeFd)
{
    std::vector<char> buffers(kBatch * kLargestDatagram);
    std::vector<iovec> payloads(kBatch);
    std::vector<sockaddr_in> senders(kBatch);
    std::vector<std::array<char, CMSG_SPACE(sizeof(in_pktinfo))>> controls(kBatch);
    std::vector<mmsghdr> messages(kBatch);
    std::deque<Datagram> batch;
    pollfd waits[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    // The window thread hears of new datagrams once the socket has been quiet for a moment
    // or a little while has passed: during a burst this thread keeps the processor.
    bool unannounced = false;
    auto firstUnannounced = std::chrono::steady_clock::now();
    for (;;) {
        int timeoutMs = -1;
        if (unannounced) {
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now()
                                                                                      - firstUnannounced);
            timeoutMs = static_cast<int>(
                std::max<long long>(0, std::min<long long>(kQuietMs, kLongestUnannouncedMs - waited.count())));
        }
        const int ready = ::poll(waits, 2, timeoutMs);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready > 0 && waits[1].revents != 0)
            return; // close() asks the thread to end
        if (ready > 0 && (waits[0].revents & POLLIN) != 0) {
            for (unsigned i = 0; i < kBatch; ++i) {
                payloads[i] = {buffers.data() + i * kLargestDatagram, kLargestDatagram};
                messages[i].msg_hdr = msghdr{};
                messages[i].msg_hdr.msg_name = &senders[i];
                messages[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
                messages[i].msg_hdr.msg_iov = &payloads[i];
                messages[i].msg_hdr.msg_iovlen = 1;
                messages[i].msg_hdr.msg_control = controls[i].data();
                messages[i].msg_hdr.msg_controllen = controls[i].size();
            }
            const int received = ::recvmmsg(fd, messages.data(), kBatch, MSG_DONTWAIT, nullptr);
            for (int i = 0; i < received; ++i) {
                char sender[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &senders[i].sin_addr, sender, sizeof sender);
                batch.push_back(Datagram{std::string(buffers.data() + i * kLargestDatagram, messages[i].msg_len),
                                         sender, InterfaceIndexOf(messages[i].msg_hdr)});
            }
            if (!batch.empty()) {
                enqueue(batch);
                if (!unannounced)
                    firstUnannounced = std::chrono::steady_clock::now();
                unannounced = true;
            }
        }
        if (unannounced
            && (ready == 0
                || std::chrono::steady_clock::now() - firstUnannounced
                    >= std::chrono::milliseconds(kLongestUnannouncedMs))) {
            announce();
            unannounced = false;
        }
    }
}

void LinuxUdpSocket::enqueue(std::deque<Datagram>& batch)
{
    {
        const std::lock_guard lock(mutex_);
        for (Datagram& datagram : batch) {
            const std::size_t cost = datagram.bytes.size() + kPerDatagramBytes;
            if (queuedBytes_ + cost > kQueueLimitBytes)
                continue;
            queuedBytes_ += cost;
            queue_.push_back(std::move(datagram));
        }
    }
    batch.clear();
}

void LinuxUdpSocket::announce()
{
    // One queued call at a time: the window thread takes everything that waits then.
    if (!arrivalPosted_.exchange(true)) {
        QMetaObject::invokeMethod(
            &windowThread_,
            [this] {
                arrivalPosted_ = false;
                if (onArrival_)
                    onArrival_();
            },
            Qt::QueuedConnection);
    }
}
