#include "StepWait.h"

#include "Clock.h"
#include "TimerFactory.h"

#include <algorithm>
#include <cmath>

StepWait::StepWait(const Clock& clock, TimerFactory& timers) : clock_(clock), timer_(timers.makeTimer())
{
    timer_->setTickHandler([this] { check(); });
}

StepWait::~StepWait() = default;

void StepWait::start(double seconds, std::function<void()> done, std::function<void()> everySecond)
{
    const double now = clock_.elapsedSeconds();
    deadline_ = now + seconds;
    second_ = std::floor(now);
    done_ = std::move(done);
    everySecond_ = std::move(everySecond);
    running_ = true;
    if (over(now)) {
        // Even a wait that is over already ends from the event loop, never inside start():
        // the caller's step finishes first.
        timer_->setInterval(1);
        timer_->setEnabled(true);
        return;
    }
    armUntilNextCheck();
}

void StepWait::cancel()
{
    running_ = false;
    timer_->setEnabled(false);
    done_ = nullptr;
    everySecond_ = nullptr;
}

bool StepWait::over(double now) const { return now >= deadline_; }

void StepWait::check()
{
    if (!running_)
        return;
    double now = clock_.elapsedSeconds();
    if (everySecond_ && std::floor(now) != second_) {
        second_ = std::floor(now);
        everySecond_();
        if (!running_)
            return; // the dot's handler ended the wait
        now = clock_.elapsedSeconds();
    }
    if (over(now)) {
        auto done = std::move(done_);
        cancel();
        if (done)
            done();
        return;
    }
    armUntilNextCheck();
}

void StepWait::armUntilNextCheck()
{
    // Wake at the deadline, and at the next whole second when dots are drawn. The nearest
    // millisecond: a wake a hair early waits one more millisecond.
    const double now = clock_.elapsedSeconds();
    double wake = deadline_;
    if (everySecond_)
        wake = std::min(wake, second_ + 1.0);
    const double milliseconds = std::max(std::round((wake - now) * 1000.0), 1.0);
    timer_->setInterval(static_cast<int>(std::min(milliseconds, 86400000.0))); // a day at most: int milliseconds
    timer_->setEnabled(true);
}
