#include "BurstSender.h"

#include "MonotonicNanoseconds.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace BurstSender {

std::string Reply(int index)
{
    char mac[18];
    std::snprintf(mac, sizeof mac, "00:08:DC:%02X:%02X:%02X", (index >> 16) & 0xFF, (index >> 8) & 0xFF, index & 0xFF);
    char address[16];
    std::snprintf(address, sizeof address, "10.%d.%d.%d", (index >> 16) & 0xFF, (index >> 8) & 0xFF, index & 0xFF);
    return "Host Name : TAVIK-WS-" + std::to_string(index) + "\r\nMAC Address : " + mac
        + "\r\nIP Assignment : STATIC\r\nIP Address : " + address + ":80\r\nSubNet Mask : 255.0.0.0"
        + "\r\nGateway : 10.0.0.1\r\nDNS Server : 10.0.0.1\r\nFirmware : 2.14 build 0311"
        + "\r\nUptime : 0 d 03:12:44\r\nSerial : TS-" + std::to_string(100000 + index) + "\r\n";
}

int Run(const std::string& kind, int count, const std::string& target)
{
    std::vector<std::string> replies;
    if (kind == "flood") {
        for (int i = 0; i < 10000; ++i)
            replies.push_back(Reply(i));
        for (int i = 0; i < count; ++i)
            replies.push_back(Reply(0));
        for (int i = 0; i < 5000; ++i)
            replies.push_back(Reply(10000 + i));
    } else {
        for (int i = 0; i < count; ++i)
            replies.push_back(Reply(i));
    }

    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int buffer = 4 << 20;
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(8080);
    inet_pton(AF_INET, target.c_str(), &to.sin_addr);

    // Paced to the line rate of gigabit Ethernet (a frame carries 46 bytes of headers,
    // preamble and gap besides the payload), in batches of 16 per system call: as dense
    // as a burst on a real LAN can be. Unpaced over veth the sender would outrun any
    // reader by far, which no LAN does.
    constexpr std::size_t kBatch = 16;
    constexpr double kLineBitsPerNs = 1.0;
    long long due = MonotonicNanoseconds();
    std::vector<iovec> payloads(kBatch);
    std::vector<mmsghdr> messages(kBatch);
    // "rounds": the fleet answers a search's three requests, one second apart.
    const long long firstRound = due;
    const int rounds = kind == "rounds" ? 3 : 1;
    for (int round = 0; round < rounds; ++round) {
        due = std::max(due, firstRound + round * 1'000'000'000LL);
        for (std::size_t first = 0; first < replies.size();) {
            const std::size_t n = std::min(kBatch, replies.size() - first);
            for (std::size_t i = 0; i < n; ++i) {
                payloads[i] = {replies[first + i].data(), replies[first + i].size()};
                messages[i].msg_hdr = msghdr{};
                messages[i].msg_hdr.msg_name = &to;
                messages[i].msg_hdr.msg_namelen = sizeof to;
                messages[i].msg_hdr.msg_iov = &payloads[i];
                messages[i].msg_hdr.msg_iovlen = 1;
            }
            for (std::size_t i = 0; i < n; ++i)
                due += static_cast<long long>((replies[first + i].size() + 28 + 46) * 8 / kLineBitsPerNs);
            const timespec wake{static_cast<time_t>(due / 1'000'000'000LL), static_cast<long>(due % 1'000'000'000LL)};
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr);
            const int sent = ::sendmmsg(fd, messages.data(), static_cast<unsigned>(n), 0);
            if (sent <= 0) {
                std::perror("sendmmsg");
                return 1;
            }
            first += static_cast<std::size_t>(sent);
        }
    }
    std::printf("sent %lld\n", static_cast<long long>(MonotonicNanoseconds()));
    std::fflush(stdout);
    ::close(fd);
    return 0;
}

} // namespace BurstSender
