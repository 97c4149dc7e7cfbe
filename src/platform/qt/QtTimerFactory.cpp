#include "QtTimerFactory.h"

#include "QtTimer.h"

std::unique_ptr<Timer> QtTimerFactory::makeTimer() { return std::make_unique<QtTimer>(); }
