#pragma once

#include <functional>
#include <memory>

class Clock;
class Timer;
class TimerFactory;

// One wait of an operation, as a step on the event loop: `start` returns at once, and
// `done` runs once the steady clock has moved on by the given seconds. `everySecond` runs
// each time the clock's whole second changes meanwhile: the growing dots of a wait.
// Starting again replaces a running wait.
class StepWait final {
public:
    StepWait(const Clock& clock, TimerFactory& timers);
    ~StepWait();
    StepWait(const StepWait&) = delete;
    StepWait& operator=(const StepWait&) = delete;

    void start(double seconds, std::function<void()> done, std::function<void()> everySecond = {});
    // Ends a running wait without its `done`; does nothing otherwise.
    void cancel();
    bool running() const { return running_; }

private:
    bool over(double now) const;
    void check();
    void armUntilNextCheck();

    const Clock& clock_;
    std::unique_ptr<Timer> timer_;
    bool running_ = false;
    double deadline_ = 0.0;
    double second_ = 0.0; // the whole second of the clock at the last dot
    std::function<void()> done_;
    std::function<void()> everySecond_;
};
