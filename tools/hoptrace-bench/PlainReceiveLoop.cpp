#include "PlainReceiveLoop.h"

#include "MonotonicNanoseconds.h"
#include "ProcessUsage.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

int PlainReceiveLoop::Run(int receiveBufferBytes)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(8080);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::perror("bind");
        return 1;
    }
    const timeval idle{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof idle);
    std::printf("ready\n");
    std::fflush(stdout);

    std::vector<char> buffer(65536);
    long received = 0;
    long long last = 0;
    ProcessUsage start = ProcessUsage::Now();
    for (;;) {
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n < 0 && received > 0)
            break; // a second without a datagram after the burst
        if (n >= 0) {
            if (received++ == 0)
                start = ProcessUsage::Now();
            last = MonotonicNanoseconds();
        }
    }
    // The second of waiting that ends the loop sleeps; it costs no CPU.
    const ProcessUsage end = ProcessUsage::Now();
    std::printf("result listed=%ld complete=%lld cpu=%.4f rss=%ld gap=0 ended=0\n", received, last,
                end.cpuSeconds - start.cpuSeconds, end.peakRssKilobytes);
    ::close(fd);
    return 0;
}
