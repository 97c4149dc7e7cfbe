#pragma once

// The command line's wait: it has no window and runs its search as one plain loop that sleeps
// here until the socket's next datagram (or the deadline). The window never waits like this:
// its waits are steps on the event loop (StepWait), and only hoptrace-cli links this.
class EventWaiter {
public:
    virtual ~EventWaiter() = default;
    // Sleep until at least one event has been handled or maxSeconds have passed.
    virtual void waitForEvent(double maxSeconds) = 0;
};
