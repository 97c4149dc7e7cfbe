#include "ClockDeadline.h"

bool ClockReached(double clockReading, double deadline) { return clockReading >= deadline; }
