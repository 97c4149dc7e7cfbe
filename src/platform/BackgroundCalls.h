#pragma once

#include <functional>

// Where the window's blocking platform calls run (an echo that waits a second for its
// answer, a command that may take a minute): on a thread of their own, so that the
// window's thread never waits for them. The result comes back to the window's thread as
// a queued call, after every event that was already waiting.
class BackgroundCalls {
public:
    virtual ~BackgroundCalls() = default;
    // Runs `call` away from the window's thread, then `done(result)` on the window's thread.
    // `call` must not touch widgets; `done` must check that its receiver still exists.
    virtual void start(std::function<int()> call, std::function<void(int)> done) = 0;
};
