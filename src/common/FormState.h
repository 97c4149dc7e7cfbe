#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One local adapter as the refresh stored it (texts already cut to their windows).
struct NicRecord {
    std::string name;    // description, at most 41 characters
    std::string ip;      // at most 15 characters each
    std::string subnet;
    std::string gateway;
    int interfaceIndex = -1; // where the list request for this adapter leaves
};

// The window-level state that several handlers share. Owned by the window; the
// subsystems hold references. Everything starts as 0, false or empty.
struct FormState {
    double searchDeadline = 0.0;     // clock reading at which the running search ends
    bool closing = false;            // the window is unloading: waits end, no refresh follows
    bool commandRunning = false;     // Reboot, Load defaults or IP setup runs: no selection meanwhile
    std::uintptr_t hWlanClient = 0;  // WLAN client of the last scan; 0 before any scan
    int pendingSelectBox = -1;       // octet box whose next click selects all; -1 = none
    int serverCount = 0;             // distinct webservers listed in the running search
    std::string selectedIp;          // address of the selected webserver
    std::string selectedMac;         // its MAC address, 17 characters
    bool replyArrived = false;       // a webserver not yet listed has just been listed
    bool useCurrentSetupAp = false;  // the gateway's setup access point is "TAVIK-MUREL"
    bool useOldSetupAp = false;      // ... or the old firmware's "TAVIK MUREL"
    // Adapter number n (from 1) is nics[n - 1]. Entries are overwritten by each refresh
    // and never removed: entries beyond the last refresh's count keep older texts.
    std::vector<NicRecord> nics;
};
