#include "SearchRun.h"

#include "MonotonicNanoseconds.h"
#include "ProcessUsage.h"

#include "common/AdapterTable.h"
#include "devices/AddressList.h"
#include "devices/DeviceSearch.h"
#include "devices/NicRecords.h"
#include "platform/AdapterList.h"
#include "platform/PlatformFactory.h"
#include "platform/Services.h"
#include "platform/UdpSocket.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// The real socket, noting when each unicast left.
class SendLog final : public UdpSocket {
public:
    explicit SendLog(UdpSocket& socket) : socket_(socket) { }
    bool bind(std::uint16_t port) override { return socket_.bind(port); }
    bool isBound() const override { return socket_.isBound(); }
    void close() override { socket_.close(); }
    bool send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex) override
    {
        (host == "255.255.255.255" ? broadcasts : unicasts).push_back(MonotonicNanoseconds());
        return socket_.send(bytes, host, port, interfaceIndex);
    }
    std::optional<Datagram> take() override { return socket_.take(); }
    void setArrivalHandler(std::function<void()> onArrival) override { socket_.setArrivalHandler(onArrival); }

    std::vector<long long> broadcasts, unicasts;

private:
    UdpSocket& socket_;
};

// 1,024 addresses beyond the PC's networks: a quarter behind the LAN's router, the rest
// unrouted, as most of a searched range is.
constexpr const char* kSearched = "10.77.0.0/22";

} // namespace

int SearchRun::Run(int argc, char* argv[], int targets)
{
    QApplication app(argc, argv);
    const auto platform = CreatePlatformServices();
    Services& services = platform->services();
    SendLog socket(services.socket);
    AdapterTable nics;
    int count = 0;
    for (const AdapterInfo& adapter : services.adapters.adapters().value_or(std::vector<AdapterInfo>{}))
        if (AdapterQualifies(adapter))
            nics.store(++count, ToNicRecord(adapter));
    nics.setCount(static_cast<std::size_t>(count));
    socket.bind(8080);
    std::vector<std::uint32_t> searched = AddressList::Parse(kSearched).addresses;
    searched.resize(std::min(searched.size(), static_cast<std::size_t>(targets)));

    DeviceSearch search(services.clock, services.timers, socket, nics);
    long long lastTick = 0, longestGap = 0, ended = 0;
    QObject::connect(&search, &DeviceSearch::finished, &search, [&] {
        ended = MonotonicNanoseconds();
        QTimer::singleShot(0, &app, &QApplication::quit);
    });
    // A 1 ms probe: its longest gap is the longest time the event loop was not free.
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        const long long now = MonotonicNanoseconds();
        longestGap = std::max(longestGap, lastTick ? now - lastTick : 0);
        lastTick = now;
    });
    search.clear();
    std::printf("ready\n");
    std::fflush(stdout);
    const ProcessUsage before = ProcessUsage::Now();
    const long long started = MonotonicNanoseconds();
    probe.start();
    search.start({.seconds = 3, .requestAtStart = true, .endAtDeadline = true, .unicastTargets = searched});
    QApplication::exec();
    const ProcessUsage after = ProcessUsage::Now();

    // Unicasts less than 1 ms apart count as one batch; each belongs to the broadcast before it.
    int batches = 0;
    long long largest = 0, run = 0, latest = 0;
    for (std::size_t i = 0; i < socket.unicasts.size(); ++i) {
        const long long at = socket.unicasts[i];
        const bool joins = i > 0 && at - socket.unicasts[i - 1] < 1'000'000;
        run = joins ? run + 1 : 1;
        batches += joins ? 0 : 1;
        largest = std::max(largest, run);
        const auto round = std::upper_bound(socket.broadcasts.begin(), socket.broadcasts.end(), at);
        if (round != socket.broadcasts.begin())
            latest = std::max(latest, at - *(round - 1));
    }
    const std::size_t rounds = std::max<std::size_t>(1, socket.broadcasts.size() / std::max(1, count));
    std::printf("result listed=%d complete=0 cpu=%.4f rss=%ld gap=%.1f ended=%.3f unicasts=%zu batches=%.1f "
                "largest=%lld latest=%.1f\n",
                search.count(), after.cpuSeconds - before.cpuSeconds, after.peakRssKilobytes, longestGap / 1e6,
                ended ? (ended - started) / 1e9 : -1.0, socket.unicasts.size(),
                static_cast<double>(batches) / static_cast<double>(rounds), largest, latest / 1e6);
    return 0;
}
