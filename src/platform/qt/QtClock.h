#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

// The steady clock, counted from the program's start: the system's monotonic clock where
// it has one (on Linux and Windows it does), so nothing is read from the time of day.
class QtClock final : public Clock {
public:
    QtClock();
    double elapsedSeconds() const override;

private:
    QElapsedTimer sinceStart_;
};
