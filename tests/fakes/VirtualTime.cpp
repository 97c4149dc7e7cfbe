#include "VirtualTime.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

class VirtualTimer final : public Timer {
public:
    explicit VirtualTimer(VirtualTime& time) : time_(time) { }
    ~VirtualTimer() override { std::erase(time_.timers_, this); }

    void setInterval(int milliseconds) override
    {
        interval_ = milliseconds;
        restart();
    }
    void setEnabled(bool enabled) override
    {
        enabled_ = enabled;
        restart();
    }
    bool isEnabled() const override { return enabled_; }
    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }

    bool armed() const { return enabled_ && interval_ > 0 && !inTick_; }
    double due() const { return due_; }
    void fire()
    {
        // Like a real timer, a tick does not start again while its handler runs.
        inTick_ = true;
        due_ += interval_ / 1000.0;
        if (onTick_)
            onTick_();
        inTick_ = false;
        if (due_ <= time_.elapsed())
            due_ = time_.elapsed() + interval_ / 1000.0;
    }

private:
    void restart() { due_ = time_.elapsed() + interval_ / 1000.0; }

    VirtualTime& time_;
    int interval_ = 0;
    bool enabled_ = false;
    bool inTick_ = false;
    double due_ = 0.0;
    std::function<void()> onTick_;
};

VirtualTime::VirtualTime(double startSecondsSinceMidnight) : start_(startSecondsSinceMidnight) { }

VirtualTime::~VirtualTime() = default;

double VirtualTime::secondsSinceMidnight() const { return std::fmod(start_ + elapsed_, 86400.0); }

std::unique_ptr<Timer> VirtualTime::makeTimer()
{
    auto timer = std::make_unique<VirtualTimer>(*this);
    timers_.push_back(timer.get());
    return timer;
}

void VirtualTime::schedule(double delaySeconds, std::function<void()> action)
{
    scheduled_.emplace(elapsed_ + delaySeconds, std::move(action));
}

bool VirtualTime::nextDue(double& at) const
{
    at = std::numeric_limits<double>::infinity();
    if (!scheduled_.empty())
        at = scheduled_.begin()->first;
    for (const VirtualTimer* timer : timers_)
        if (timer->armed() && timer->due() < at)
            at = timer->due();
    return std::isfinite(at);
}

void VirtualTime::runDueUpTo(double upTo)
{
    double at = 0.0;
    while (nextDue(at) && at <= upTo) {
        if (at > elapsed_)
            elapsed_ = at;
        if (!scheduled_.empty() && scheduled_.begin()->first == at) {
            auto action = std::move(scheduled_.begin()->second);
            scheduled_.erase(scheduled_.begin());
            action();
        } else {
            for (VirtualTimer* timer : timers_) {
                if (timer->armed() && timer->due() == at) {
                    timer->fire();
                    break;
                }
            }
        }
        QCoreApplication::processEvents();
    }
}

void VirtualTime::yieldOnce()
{
    QCoreApplication::processEvents();
    runDueUpTo(elapsed_);
}

void VirtualTime::waitForEvent(double maxSeconds)
{
    QCoreApplication::processEvents();
    double at = 0.0;
    const double limit = elapsed_ + std::max(0.0, maxSeconds);
    const double target = nextDue(at) ? std::min(at, limit) : limit;
    if (target > elapsed_)
        elapsed_ = target;
    runDueUpTo(elapsed_);
}

void VirtualTime::advance(double seconds)
{
    const double target = elapsed_ + seconds;
    runDueUpTo(target);
    if (target > elapsed_)
        elapsed_ = target;
    QCoreApplication::processEvents();
}
