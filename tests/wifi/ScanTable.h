#pragma once

#include "platform/Wlan.h"

#include <QStringList>

#include <vector>

// One scan: what the WLAN service knows and what the panel shows afterwards. The one
// table runs against a fake WLAN service and against a mock NetworkManager.
struct ScanRow {
    const char* name;
    int adapters = 1;                    // -1: no WLAN client at all
    std::vector<WlanNetwork> networks{}; // of the first adapter
    QStringList shown{};                 // "name|signal" per line of lstSSID and lstSignal
    const char* setupAp = "";            // the setup access point found: "current" or "old"
    bool enabled = false;                // cmdWiFiConnect afterwards; disabled before
    const char* port = "8082";           // typed into txtMurelPort; an SSID is typed too
    const char* message = "";            // the message box shown
};

void AddScanRows(); // one column, "row"
const ScanRow& CurrentScanRow();
void RunScanRow(Wlan& wlan); // scans in the window, clicking again during the wait
