#pragma once

#include <functional>

// A repeating timer on the window's thread.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    // Called on every tick while enabled.
    virtual void setTickHandler(std::function<void()> onTick) = 0;
};
