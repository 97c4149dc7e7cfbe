#pragma once

#include "wifi/WifiState.h"
#include "wifi/WifiWidgets.h"

#include <QWidget>

// The Wi-Fi controls as real widgets, in the state the window's start-up leaves
// them: port 8082, fraVoorstel enabled, cmdWiFiConnect disabled, useCurrentSetupAp set.
class WifiTestPanel final {
public:
    WifiTestPanel();

    // Fills txtSSID, txtVoorstel(0..2) and the port so that the readiness rule holds.
    void fillConnectFields();

    QWidget window;
    WifiWidgets widgets;
    bool useCurrentSetupAp = true;
    bool useOldSetupAp = false;
    Wlan::Handle hWlanClient = 0;
    WifiState state{useCurrentSetupAp, useOldSetupAp, hWlanClient};
};
