#pragma once

#include "platform/Wlan.h"

// The window-level state the Wi-Fi controllers share with the rest of the window.
// The fields live in the window; these are references to them.
struct WifiState {
    bool& useCurrentSetupAp;   // the connection targets "TAVIK-MUREL" (else "TAVIK MUREL")
    bool& useOldSetupAp;       // the old firmware's access point was found or chosen
    Wlan::Handle& hWlanClient; // the WLAN client of the last scan; 0 before any
};
