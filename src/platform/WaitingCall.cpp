#include "WaitingCall.h"

#include "EventWaiter.h"

#include <atomic>
#include <thread>

namespace {
// How soon the waiting thread notices that the call has returned; it sleeps meanwhile.
constexpr double kCheckSeconds = 0.05;
} // namespace

int CallLettingEventsRun(EventWaiter* waiter, const std::function<int()>& call)
{
    if (!waiter)
        return call();
    std::atomic<bool> done{false};
    int result = -1;
    std::thread worker([&] {
        result = call();
        done = true;
    });
    while (!done)
        waiter->waitForEvent(kCheckSeconds);
    worker.join();
    return result;
}
