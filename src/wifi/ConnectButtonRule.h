#pragma once

struct WifiWidgets;

// Enables cmdWiFiConnect exactly when the connect readiness rule holds for the
// texts of txtSSID, txtVoorstel(0..2) and txtMurelPort. Every caller of the rule
// (scan, txtSSID and txtMurelPort changes) goes through here.
void ApplyConnectReadiness(const WifiWidgets& widgets);
