#pragma once

#include <string>

// The window-wide state. Owned by the window; the subsystems hold references. Each field
// has one writer: `closing` the window's unload, the selection ServerSelection.
struct FormState {
    bool closing = false;       // the window is unloading: waits end, no refresh follows
    std::string selectedIp;     // address of the selected webserver
    std::string selectedMac;    // its MAC address, 17 characters
    int selectedInterface = -1; // the interface its reply arrived on; -1 unknown (the routing table chooses)
};
