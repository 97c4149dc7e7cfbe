#include "TimedWait.h"

#include "platform/Clock.h"
#include "platform/EventWaiter.h"

#include <algorithm>

bool ClockReached(double clockReading, double deadline)
{
    return static_cast<float>(clockReading) >= static_cast<float>(deadline);
}

bool PastMidnight(double clockReading) { return static_cast<float>(clockReading) <= 1.0f; }

bool TimedWait(const Clock& clock, EventWaiter& waiter, double seconds, const std::function<bool()>& stop)
{
    const double deadline = clock.secondsSinceMidnight() + seconds;
    for (;;) {
        if (stop && stop())
            return false;
        const double now = clock.secondsSinceMidnight();
        if (ClockReached(now, deadline) || PastMidnight(now))
            return true;
        // A millisecond floor keeps a wait that float rounding left open from spinning.
        waiter.waitForEvent(std::max(deadline - now, 0.001));
    }
}
