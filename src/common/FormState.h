#pragma once

#include <cstdint>
#include <string>

// The window-level state that several handlers share. Owned by the window; the
// subsystems hold references. Everything starts as 0, false or empty.
struct FormState {
    bool closing = false;           // the window is unloading: waits end, no refresh follows
    std::uintptr_t hWlanClient = 0; // WLAN client of the last scan; 0 before any scan
    int pendingSelectBox = -1;      // octet box whose next click selects all; -1 = none
    std::string selectedIp;         // address of the selected webserver
    std::string selectedMac;        // its MAC address, 17 characters
    bool useCurrentSetupAp = false; // the gateway's setup access point is "TAVIK-MUREL"
    bool useOldSetupAp = false;     // ... or the old firmware's "TAVIK MUREL"
};
