#pragma once

// The one way the program lets its message loop run while a handler waits.
// Neither operation spins: a wait sleeps until an event arrives.
class EventWaiter {
public:
    virtual ~EventWaiter() = default;
    // Run the events that are pending now, then return.
    virtual void yieldOnce() = 0;
    // Sleep until at least one event has been handled or maxSeconds have passed.
    virtual void waitForEvent(double maxSeconds) = 0;
};
