#include "QtClock.h"

#include <QTime>

double QtClock::secondsSinceMidnight() const { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }
