#include "IcmpEcho.h"

#include "UniqueFd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <random>
#include <sys/random.h>
#include <sys/socket.h>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

// ICMP_FILTER from <linux/icmp.h>, which cannot be included next to <netinet/ip_icmp.h>.
constexpr int kRawIcmpFilterOption = 1;
constexpr std::size_t kTokenLength = 16;

std::array<unsigned char, kTokenLength> RandomToken()
{
    std::array<unsigned char, kTokenLength> token{};
    if (getrandom(token.data(), token.size(), GRND_NONBLOCK) != static_cast<ssize_t>(token.size())) {
        std::random_device device;
        for (auto& byte : token)
            byte = static_cast<unsigned char>(device());
    }
    return token;
}

std::uint16_t Checksum(const unsigned char* data, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2)
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (length % 2)
        sum += static_cast<std::uint32_t>(data[length - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return htons(static_cast<std::uint16_t>(~sum));
}

struct Request {
    std::uint16_t id = 0; // network byte order
    std::uint16_t sequence = 0;
    std::array<unsigned char, kTokenLength> token{};
};

std::vector<unsigned char> EchoPacket(const Request& request)
{
    std::vector<unsigned char> packet(sizeof(icmphdr) + kTokenLength);
    icmphdr header{};
    header.type = ICMP_ECHO;
    header.un.echo.id = request.id;
    header.un.echo.sequence = htons(request.sequence);
    std::memcpy(packet.data(), &header, sizeof header);
    std::memcpy(packet.data() + sizeof header, request.token.data(), kTokenLength);
    const std::uint16_t checksum = Checksum(packet.data(), packet.size());
    std::memcpy(packet.data() + offsetof(icmphdr, checksum), &checksum, sizeof checksum);
    return packet;
}

// True when bytes (an ICMP message; raw sockets put the IP header before it) are the reply
// to request. The sender has been checked already.
bool IsReply(const unsigned char* bytes, std::size_t length, bool withIpHeader, const Request& request)
{
    if (withIpHeader) {
        if (length < sizeof(iphdr))
            return false;
        const std::size_t headerLength = static_cast<std::size_t>(bytes[0] & 0x0f) * 4;
        iphdr ip{};
        std::memcpy(&ip, bytes, sizeof ip);
        if (headerLength < sizeof(iphdr) || headerLength > length || ip.protocol != IPPROTO_ICMP)
            return false;
        bytes += headerLength;
        length -= headerLength;
    }
    if (length < sizeof(icmphdr) + kTokenLength)
        return false;
    icmphdr header{};
    std::memcpy(&header, bytes, sizeof header);
    return header.type == ICMP_ECHOREPLY && header.code == 0 && header.un.echo.id == request.id
        && ntohs(header.un.echo.sequence) == request.sequence
        && std::memcmp(bytes + sizeof header, request.token.data(), kTokenLength) == 0;
}

int MillisecondsUntil(SteadyClock::time_point deadline)
{
    const auto left = deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

EchoOutcome AwaitReply(int fd, bool raw, std::uint32_t target, const Request& request, SteadyClock::time_point deadline)
{
    std::array<unsigned char, 2048> buffer{};
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return EchoOutcome::NotAnswered;
        // Drain everything queued before sleeping again.
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t received = recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                              reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (received < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                    break;
                // A pending socket error (an ICMP error the kernel chose to report) is no answer.
                int ignored = 0;
                socklen_t size = sizeof ignored;
                getsockopt(fd, SOL_SOCKET, SO_ERROR, &ignored, &size);
                break;
            }
            if (from.sin_family == AF_INET && ntohl(from.sin_addr.s_addr) == target
                && IsReply(buffer.data(), static_cast<std::size_t>(received), raw, request))
                return EchoOutcome::Answered;
        }
        if (MillisecondsUntil(deadline) == 0)
            return EchoOutcome::NotAnswered;
    }
}

} // namespace

EchoOutcome SendIcmpEcho(EchoMethod socketKind, std::uint32_t target, int ttl, double timeoutSeconds,
                         std::uint16_t sequence)
{
    if (socketKind == EchoMethod::PingProgram)
        return EchoOutcome::Unavailable;
    const bool raw = socketKind == EchoMethod::RawSocket;
    const double bounded = std::isfinite(timeoutSeconds) ? std::clamp(timeoutSeconds, 0.0, 3600.0) : 0.0;
    const auto deadline = SteadyClock::now()
        + std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(bounded));

    const UniqueFd socket(
        ::socket(AF_INET, (raw ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP));
    if (!socket.valid())
        return EchoOutcome::Unavailable;
    if (setsockopt(socket.get(), IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0)
        return EchoOutcome::Unavailable;

    Request request;
    request.sequence = sequence;
    request.token = RandomToken();
    if (raw) {
        // A raw ICMP socket sees every ICMP message the host gets; let only echo replies through.
        const std::uint32_t blocked = ~(1U << ICMP_ECHOREPLY);
        setsockopt(socket.get(), SOL_RAW, kRawIcmpFilterOption, &blocked, sizeof blocked);
        std::memcpy(&request.id, request.token.data(), sizeof request.id);
    } else {
        // The kernel puts the socket's port into the id field and passes up only the
        // replies that carry it; binding now makes that id known before sending.
        sockaddr_in local{};
        local.sin_family = AF_INET;
        socklen_t length = sizeof local;
        if (bind(socket.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
            || getsockname(socket.get(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
            return EchoOutcome::Unavailable;
        request.id = local.sin_port;
    }

    const std::vector<unsigned char> packet = EchoPacket(request);
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(target);
    ssize_t sent;
    do {
        sent = sendto(socket.get(), packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&destination),
                      sizeof destination);
    } while (sent < 0 && errno == EINTR);
    // No route, a broadcast address or a firewall: the request cannot reach the address.
    if (sent != static_cast<ssize_t>(packet.size()))
        return EchoOutcome::NotAnswered;
    return AwaitReply(socket.get(), raw, target, request, deadline);
}
