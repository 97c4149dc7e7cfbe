#pragma once

#include <functional>

class Clock;
class EventWaiter;

// Deadlines are compared with the clock in single precision, as the program always has.
bool ClockReached(double clockReading, double deadline);
// Every wait ends as soon as the clock reads 1.0 s or less, so none hangs across midnight.
bool PastMidnight(double clockReading);

// Lets the message loop run for `seconds` (sleeping between events), ending early at
// midnight or as soon as stop() returns true. everySecond(), when given, runs each time
// the whole second of the clock changes (the growing dots of a wait). Returns false
// when stop() ended it.
bool TimedWait(const Clock& clock, EventWaiter& waiter, double seconds, const std::function<bool()>& stop = {},
               const std::function<void()>& everySecond = {});
