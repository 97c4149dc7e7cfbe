#include "VirtualTime.h"

#include "TestMain.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

class VirtualTimer final : public Timer {
public:
    explicit VirtualTimer(VirtualTime& time) : time_(time) { time_.timers_.push_back(this); }
    ~VirtualTimer() override { std::erase(time_.timers_, this); }

    void setInterval(int milliseconds) override { restart(milliseconds / 1000.0, enabled_); }
    void setEnabled(bool enabled) override { restart(interval_, enabled); }
    bool isEnabled() const override { return enabled_; }
    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }

    static constexpr double kNever = std::numeric_limits<double>::infinity();
    double due() const { return enabled_ && interval_ > 0 && !inTick_ ? due_ : kNever; }
    void fire()
    {
        // Like a real timer, a tick does not start again while its handler runs.
        inTick_ = true;
        due_ += interval_;
        if (onTick_)
            onTick_();
        inTick_ = false;
        if (due_ <= time_.elapsed())
            due_ = time_.elapsed() + interval_;
    }

private:
    void restart(double interval, bool enabled)
    {
        interval_ = interval;
        enabled_ = enabled;
        due_ = time_.elapsed() + interval_;
    }

    VirtualTime& time_;
    double interval_ = 0.0;
    bool enabled_ = false;
    bool inTick_ = false;
    double due_ = 0.0;
    std::function<void()> onTick_;
};

std::unique_ptr<Timer> VirtualTime::makeTimer() { return std::make_unique<VirtualTimer>(*this); }

double VirtualTime::nextDue() const
{
    double at = scheduled_.empty() ? VirtualTimer::kNever : scheduled_.begin()->first;
    for (const VirtualTimer* timer : timers_)
        at = std::min(at, timer->due());
    return at;
}

void VirtualTime::mustNotBeFiring() const
{
    // A handler that moves time waits inside itself, as the program must never do.
    if (firing_ > 0 || EventDeliveryDepth() > 0)
        qFatal("virtual time advanced while a handler was still running");
}

void VirtualTime::fireNext(double at)
{
    elapsed_ = std::max(elapsed_, at);
    ++firing_;
    if (!scheduled_.empty() && scheduled_.begin()->first == at) {
        auto action = std::move(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
        action();
    } else {
        (*std::ranges::find_if(timers_, [at](const VirtualTimer* timer) { return timer->due() == at; }))->fire();
    }
    --firing_;
    QCoreApplication::processEvents();
}

bool VirtualTime::step()
{
    mustNotBeFiring();
    QCoreApplication::processEvents();
    const double at = nextDue();
    if (at != VirtualTimer::kNever)
        fireNext(at);
    return at != VirtualTimer::kNever;
}

void VirtualTime::advance(double seconds)
{
    mustNotBeFiring();
    QCoreApplication::processEvents();
    const double target = elapsed_ + seconds;
    for (double at = nextDue(); at <= target; at = nextDue())
        fireNext(at);
    elapsed_ = std::max(elapsed_, target);
    QCoreApplication::processEvents();
}

void VirtualTime::start(std::function<int()> call, std::function<void(int)> done)
{
    // A call runs on its own thread: it begins once the caller's handler has returned and the
    // event loop has turned, and it may charge time, never move it.
    schedule(0.0, [this, call = std::move(call), done = std::move(done)]() mutable {
        charged_ = 0.0;
        const int result = call();
        schedule(charged_, [done = std::move(done), result] { done(result); });
        charged_ = 0.0;
    });
}
