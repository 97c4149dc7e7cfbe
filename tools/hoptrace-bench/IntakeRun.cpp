#include "IntakeRun.h"

#include "MonotonicNanoseconds.h"
#include "ProcessUsage.h"

#include "app/frmHoptrace.h"
#include "devices/DeviceSearch.h"
#include "platform/PlatformFactory.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
// The list counts as complete when it has not grown for this long.
constexpr long long kQuietNs = 1'500'000'000LL;
constexpr long long kGiveUpNs = 90'000'000'000LL;
} // namespace

int IntakeRun::Run(int argc, char* argv[], int receiveBufferBytes, int expected)
{
    QApplication app(argc, argv);
    const auto platform = CreatePlatformServices(receiveBufferBytes);
    frmHoptrace window(platform->services());
    window.load();
    const long long loaded = MonotonicNanoseconds();
    std::printf("ready\n");
    std::fflush(stdout);

    // A 1 ms probe: its longest gap is the longest time the event loop was not free
    // while replies came;
    // it also notes when the list last grew and when the search ended.
    long long lastTick = loaded, longestGap = 0, lastGrowth = loaded, searchEnded = 0;
    int listed = 0;
    // CPU from the last tick before the first reply was listed to the tick that saw the
    // list's last growth: the work of the burst, not the idle ticks around it.
    ProcessUsage beforeFirst = ProcessUsage::Now(), atLastGrowth = beforeFirst;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        const long long now = MonotonicNanoseconds();
        // Gaps count from the first reply on; the window's first paint comes before it.
        if (window.search().count() > 0)
            longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        if (window.search().count() != listed) {
            listed = window.search().count();
            lastGrowth = now;
            atLastGrowth = ProcessUsage::Now();
        } else if (listed == 0) {
            beforeFirst = ProcessUsage::Now();
        }
        if (searchEnded == 0 && window.isEnabled())
            searchEnded = now;
        const bool complete = listed >= expected || (listed > 0 && now - lastGrowth > kQuietNs);
        if ((searchEnded != 0 && complete) || now - loaded > kGiveUpNs)
            QApplication::quit();
    });
    probe.start();
    QApplication::exec();

    const ProcessUsage end = ProcessUsage::Now();
    std::printf("result listed=%d complete=%lld cpu=%.4f rss=%ld gap=%.1f ended=%.3f\n", listed, lastGrowth,
                atLastGrowth.cpuSeconds - beforeFirst.cpuSeconds, end.peakRssKilobytes, longestGap / 1e6,
                searchEnded != 0 ? (searchEnded - loaded) / 1e9 : -1.0);
    return 0;
}
