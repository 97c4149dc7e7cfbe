#pragma once

#include "platform/Clock.h"
#include "platform/BackgroundCalls.h"
#include "platform/Timer.h"
#include "platform/TimerFactory.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class VirtualTimer;

// Clock, timers and background calls in virtual time. The test drives it: advance() jumps
// straight to the next thing that is due and fires it, so a twelve-second wait costs
// microseconds; Qt's own pending events run after each.
// Time moves only from the test, never from inside a handler: the program's handlers
// return at once, and a handler that advanced time would fail the test.
class VirtualTime final : public Clock, public TimerFactory, public BackgroundCalls {
public:
    // The steady clock reads origin + the virtual seconds that passed.
    explicit VirtualTime(double origin = 36000.0) : origin_(origin) { }

    double elapsedSeconds() const override { return origin_ + elapsed_; }
    std::unique_ptr<Timer> makeTimer() override;
    // Runs the call at once and hands its result back after the virtual time the call
    // charged (a fake echo's or command's duration), as a queued result from its thread.
    void start(std::function<int()> call, std::function<void(int)> done) override;
    // What a background call's fake service says it took.
    void charge(double seconds) { charged_ += seconds; }

    // Seconds since this object was made; never wraps.
    double elapsed() const { return elapsed_; }
    // Runs everything due within the next seconds, then stops there.
    void advance(double seconds);
    // Runs what is due next (moving the clock there) and Qt's pending events; false when nothing is due.
    bool step();
    void schedule(double delay, std::function<void()> run) { scheduled_.emplace(elapsed_ + delay, std::move(run)); }

private:
    friend class VirtualTimer;
    // Fires the one action or tick due at `at`, moving the clock there.
    void fireNext(double at);
    // Fails the test when time is moved from inside something virtual time fired.
    void mustNotBeFiring() const;
    // When the next action or tick is due; infinity when nothing is.
    double nextDue() const;

    double origin_;
    double elapsed_ = 0.0;
    double charged_ = 0.0;
    int firing_ = 0; // how deep inside fired actions and ticks the program is
    std::multimap<double, std::function<void()>> scheduled_;
    std::vector<VirtualTimer*> timers_;
};
