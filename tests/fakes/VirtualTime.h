#pragma once

#include "platform/Clock.h"
#include "platform/EventWaiter.h"
#include "platform/Timer.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class VirtualTimer;

// Clock, waits and timers in virtual time: waiting jumps straight to the next thing
// that is due, so a twelve-second wait costs microseconds and midnight is an
// ordinary moment. Qt's own pending events still run on every yield.
class VirtualTime final : public Clock, public EventWaiter {
public:
    explicit VirtualTime(double startSecondsSinceMidnight = 36000.0);
    ~VirtualTime() override;

    double secondsSinceMidnight() const override;
    void yieldOnce() override;
    void waitForEvent(double maxSeconds) override;

    // Seconds since this object was made; never wraps.
    double elapsed() const { return elapsed_; }
    // Runs everything due within the next seconds, then stops there.
    void advance(double seconds);
    // Runs action when the clock has advanced by delaySeconds from now.
    void schedule(double delaySeconds, std::function<void()> action);

    std::unique_ptr<Timer> makeTimer();

private:
    friend class VirtualTimer;
    struct Due {
        double at;
        std::function<void()> action;
    };
    // Fires what is due at or before `upTo`, in time order, moving the clock along.
    void runDueUpTo(double upTo);
    bool nextDue(double& at) const;

    double start_;
    double elapsed_ = 0.0;
    std::multimap<double, std::function<void()>> scheduled_;
    std::vector<VirtualTimer*> timers_;
};
