#pragma once

// The program's time: seconds on a steady clock, for every wait, deadline and tick. It
// counts on whatever the system's time of day does (NTP corrections, daylight saving, a
// user setting the time), so a step of that never stretches or cuts a wait short. Where
// the time of day is shown or recorded, it is read on its own and decides nothing.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary origin (at the latest the program's start), with
    // fractions; never goes back.
    virtual double elapsedSeconds() const = 0;
};
