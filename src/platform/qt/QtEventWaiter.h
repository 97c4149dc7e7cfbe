#pragma once

#include "platform/EventWaiter.h"

class QtEventWaiter final : public EventWaiter {
public:
    void waitForEvent(double maxSeconds) override;
};
