#pragma once

// Receives the WLAN service's notifications while a scan is registered for them.
// It runs on a thread of the platform's and therefore touches nothing: the scan
// reads the network list itself, so the notifications carry nothing it needs.
void WlanCallback();
