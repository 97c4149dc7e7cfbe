#pragma once

// The local time of day.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with fractions (0 <= t < 86400).
    virtual double secondsSinceMidnight() const = 0;
};
