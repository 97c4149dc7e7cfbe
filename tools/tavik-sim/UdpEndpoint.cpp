#include "UdpEndpoint.h"

#include "SimFleet.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::size_t MaxDatagram = 65536;

bool toSocketAddress(const std::string& dotted, std::uint16_t port, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, dotted.c_str(), &out.sin_addr) == 1;
}

std::string dotted(in_addr address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

} // namespace

std::unique_ptr<UdpEndpoint> UdpEndpoint::open(const std::string& address, std::uint16_t port, std::string& error)
{
    sockaddr_in local{};
    if (!toSocketAddress(address, port, local)) {
        error = "not an IPv4 address: " + address;
        return nullptr;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return nullptr;
    }
    const int on = 1;
    // Reuse lets the program's 0.0.0.0:8080 socket and ours coexist; broadcast lets the
    // devices answer by broadcast; packet info tells which address and interface a
    // request came in on.
    const int buffer = 4 << 20;
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) < 0
        || ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) < 0
        || ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) < 0
        || ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer) < 0
        || ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0) {
        error = address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<UdpEndpoint>(new UdpEndpoint(fd));
}

UdpEndpoint::UdpEndpoint(int fd) : fd_(fd), notifier_(fd, QSocketNotifier::Read)
{
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { readAll(); });
}

UdpEndpoint::~UdpEndpoint()
{
    notifier_.setEnabled(false);
    ::close(fd_);
}

void UdpEndpoint::readAll()
{
    std::string buffer(MaxDatagram, '\0');
    while (true) {
        sockaddr_in sender{};
        iovec vector{buffer.data(), buffer.size()};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
        msghdr message{};
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
        message.msg_iov = &vector;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(fd_, &message, 0);
        if (size < 0)
            return; // EAGAIN: all read; anything else: nothing more to read now either

        Arrival arrival;
        arrival.bytes.assign(buffer.data(), static_cast<std::size_t>(size));
        arrival.senderAddress = dotted(sender.sin_addr);
        arrival.senderPort = ntohs(sender.sin_port);
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO)
                continue;
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            arrival.interfaceIndex = info.ipi_ifindex;
            arrival.destinationAddress = dotted(info.ipi_addr);
        }
        if (onArrival_)
            onArrival_(arrival);
    }
}

bool UdpEndpoint::send(const OutgoingReply& reply, std::string& error)
{
    if (sendFrom(reply, true))
        return true;
    // A source address that is not on this host (a device that took an address nobody
    // put on an interface) is refused; the reply then leaves from the interface's own.
    if (errno == EINVAL && sendFrom(reply, false))
        return true;
    error = reply.destinationAddress + ":" + std::to_string(reply.destinationPort) + ": " + std::strerror(errno);
    return false;
}

bool UdpEndpoint::sendFrom(const OutgoingReply& reply, bool withSource)
{
    sockaddr_in destination{};
    if (!toSocketAddress(reply.destinationAddress, reply.destinationPort, destination)) {
        errno = EDESTADDRREQ;
        return false;
    }
    in_pktinfo info{};
    info.ipi_ifindex = reply.interfaceIndex > 0 ? reply.interfaceIndex : 0;
    if (withSource && inet_pton(AF_INET, reply.sourceAddress.c_str(), &info.ipi_spec_dst) != 1)
        info.ipi_spec_dst.s_addr = INADDR_ANY;

    iovec vector{const_cast<char*>(reply.bytes.data()), reply.bytes.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof destination;
    message.msg_iov = &vector;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof info);
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
    return ::sendmsg(fd_, &message, 0) == static_cast<ssize_t>(reply.bytes.size());
}
