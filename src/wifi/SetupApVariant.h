#pragma once

#include <string>

// The gateway's setup access point: the current firmware opens "TAVIK-MUREL",
// firmware before 200501 opens "TAVIK MUREL". Both use the same passphrase.
inline constexpr char kCurrentSetupSsid[] = "TAVIK-MUREL";
inline constexpr char kOldSetupSsid[] = "TAVIK MUREL";
inline constexpr char kSetupApPassphrase[] = "guestPYLO";
// The current firmware's portal answers any address once the PC has joined it.
inline constexpr char kPortalUrl[] = "http://8.8.8.8/";

// Everything that differs between the two firmware generations.
struct SetupApVariant {
    std::string ssid;           // also the name of the WLAN profile
    std::string connectingText; // shown while joining
    std::string waitingText;    // shown while waiting for the ping
    std::string failureText;    // shown in red when joining or the ping failed
    std::string pingAddress;    // answers once the PC has joined the access point
    bool opensPortal;           // the program opens the portal itself (current firmware)
};

// The variant for the setup access point the scan found or the user chose.
const SetupApVariant& SetupApVariantFor(bool useCurrentSetupAp);
