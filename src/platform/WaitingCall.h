#pragma once

#include <functional>

class EventWaiter;

// Runs a blocking call (a command that may take a minute) on a thread of its own while
// the calling thread lets the program's events run through `waiter`, so the window stays
// responsive and can be closed meanwhile. Without a waiter the call runs right here.
int CallLettingEventsRun(EventWaiter* waiter, const std::function<int()>& call);
