#include "TimedWait.h"

#include "platform/Clock.h"
#include "platform/EventWaiter.h"

#include <algorithm>
#include <cmath>

bool ClockReached(double clockReading, double deadline)
{
    return static_cast<float>(clockReading) >= static_cast<float>(deadline);
}

bool PastMidnight(double clockReading) { return static_cast<float>(clockReading) <= 1.0f; }

bool TimedWait(const Clock& clock, EventWaiter& waiter, double seconds, const std::function<bool()>& stop,
               const std::function<void()>& everySecond)
{
    const double deadline = clock.secondsSinceMidnight() + seconds;
    double second = std::floor(clock.secondsSinceMidnight());
    for (;;) {
        const double now = clock.secondsSinceMidnight();
        if (ClockReached(now, deadline) || PastMidnight(now))
            return true;
        if (stop && stop())
            return false;
        // Sleep until the next event, the deadline or (with dots to draw) the next whole
        // second; a millisecond floor keeps a wait that rounding left open from spinning.
        double wake = deadline;
        if (everySecond)
            wake = std::min(wake, second + 1.0);
        waiter.waitForEvent(std::max(wake - now, 0.001));
        if (everySecond) {
            const double reached = std::floor(clock.secondsSinceMidnight());
            if (reached != second) {
                second = reached;
                everySecond();
            }
        }
    }
}
