#pragma once

// Deadlines are compared with the clock in single precision, as the program always has.
bool ClockReached(double clockReading, double deadline);
// Every wait ends as soon as the clock reads 1.0 s or less, so none hangs across midnight.
bool PastMidnight(double clockReading);
