#pragma once

#include "platform/TimerFactory.h"

class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<Timer> makeTimer() override;
};
