#pragma once

class WifiTestPanel;

// Scan cases shared by the scan over a fake WLAN service and over NetworkManager
// on a private bus. Columns: ssids (QList<QByteArray>), strengths (QList<int>)
// and what the panel must show afterwards.
void AddNetworkListRows();
// Verifies the panel against the current row of AddNetworkListRows.
void VerifyNetworkListRow(const WifiTestPanel& panel);

// The connect readiness rule after a scan that lists "TAVIK-MUREL". Columns:
// ssid, ip, mask, gateway, dns, key, port (QString), enabled (bool).
void AddReadinessRows();
// Fills the fields from the current row of AddReadinessRows.
void FillReadinessFields(WifiTestPanel& panel);
