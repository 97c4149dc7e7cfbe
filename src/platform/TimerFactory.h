#pragma once

#include "Timer.h"

#include <memory>

// Makes timers on the window's thread: every wait of the window is one of them.
class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> makeTimer() = 0;
};
