#pragma once

#include "platform/Clock.h"
#include "platform/EventWaiter.h"
#include "platform/Timer.h"

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class VirtualTimer;

// Clock, waits and timers in virtual time: waiting jumps straight to the next thing that is
// due, so a twelve-second wait costs microseconds and midnight is an ordinary moment. Qt's own
// pending events still run on every yield.
class VirtualTime final : public Clock, public EventWaiter {
public:
    explicit VirtualTime(double startSecondsSinceMidnight = 36000.0) : start_(startSecondsSinceMidnight) { }

    double secondsSinceMidnight() const override { return std::fmod(start_ + elapsed_, 86400.0); }
    void yieldOnce() override { waitForEvent(0.0); }
    void waitForEvent(double maxSeconds) override;

    // Seconds since this object was made; never wraps.
    double elapsed() const { return elapsed_; }
    // Runs everything due within the next seconds, then stops there.
    void advance(double seconds);
    // Runs `run` when the clock has advanced by `delay` seconds from now.
    void schedule(double delay, std::function<void()> run) { scheduled_.emplace(elapsed_ + delay, std::move(run)); }
    std::unique_ptr<Timer> makeTimer();

private:
    friend class VirtualTimer;
    // Fires what is due at or before `upTo`, in time order, moving the clock along.
    void runDueUpTo(double upTo);
    // When the next action or tick is due; infinity when nothing is.
    double nextDue() const;

    double start_;
    double elapsed_ = 0.0;
    std::multimap<double, std::function<void()>> scheduled_;
    std::vector<VirtualTimer*> timers_;
};
