#include "ClockDeadline.h"

bool ClockReached(double clockReading, double deadline)
{
    return static_cast<float>(clockReading) >= static_cast<float>(deadline);
}

bool PastMidnight(double clockReading) { return static_cast<float>(clockReading) <= 1.0f; }
