#pragma once

// The window's busy state: the window takes no input and the busy animation plays.
// Implemented by the window; subsystems enter and leave it.
class BusyState {
public:
    virtual ~BusyState() = default;
    virtual void enterBusy() = 0;
    virtual void leaveBusy() = 0;
};
