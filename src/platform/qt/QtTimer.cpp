#include "QtTimer.h"

QtTimer::QtTimer()
{
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (onTick_)
            onTick_();
    });
}

void QtTimer::setInterval(int milliseconds) { timer_.setInterval(milliseconds); }

void QtTimer::setEnabled(bool enabled)
{
    // An interval of 0 keeps the timer silent, as a disabled one.
    if (enabled && timer_.interval() > 0)
        timer_.start();
    else
        timer_.stop();
}

bool QtTimer::isEnabled() const { return timer_.isActive(); }

void QtTimer::setTickHandler(std::function<void()> onTick) { onTick_ = std::move(onTick); }
