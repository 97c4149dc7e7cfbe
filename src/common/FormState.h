#pragma once

#include <string>

// The window-level state that several handlers share. Owned by the window; the
// subsystems hold references. Everything starts as 0, false or empty.
struct FormState {
    bool closing = false;    // the window is unloading: waits end, no refresh follows
    std::string selectedIp;  // address of the selected webserver
    std::string selectedMac; // its MAC address, 17 characters
};
