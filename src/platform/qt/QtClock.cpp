#include "QtClock.h"

QtClock::QtClock() { sinceStart_.start(); }

double QtClock::elapsedSeconds() const { return static_cast<double>(sinceStart_.nsecsElapsed()) / 1e9; }
