#pragma once

#include "common/BusyState.h"

// Counts how often the busy state is entered and left.
class RecordingBusyState final : public BusyState {
public:
    void enterBusy() override { ++entered; }
    void leaveBusy() override { ++left; }
    bool busy() const { return entered > left; }

    int entered = 0;
    int left = 0;
};
