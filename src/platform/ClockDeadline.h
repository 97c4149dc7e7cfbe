#pragma once

// A deadline on the steady clock has come: the reading is at or past it.
bool ClockReached(double clockReading, double deadline);
