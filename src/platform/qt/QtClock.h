#pragma once

#include "platform/Clock.h"

class QtClock final : public Clock {
public:
    double secondsSinceMidnight() const override;
};
