#pragma once

#include "WifiState.h"
#include "WifiWidgets.h"

#include <QObject>
#include <QString>

struct Services;

// The Wi-Fi panel: lists the networks the first WLAN adapter knows with their signal
// (Scan, the click on picRescan), detects the gateway's setup access point, and
// copies a picked network name into txtSSID.
class WifiScan final : public QObject {
public:
    // Connects to the selection changes of lstSSID and lstSignal and to txtSSID's changes.
    WifiScan(const WifiWidgets& widgets, WifiState state, Services& services, QObject* parent = nullptr);

    void Scan();
    // Ends the scan's wait at once (the window closes); nothing is listed then.
    void cancel();

private:
    void listNetwork(const std::string& ssid, unsigned signalQuality);
    void setupApFound(bool current);
    // A line picked in either list: the same line in both, then the SSID-pick action.
    void listPicked(int row);
    void pickSsid(int row);
    void clearLists();

    WifiWidgets widgets_;
    WifiState state_;
    Services& services_;
    bool scanning_ = false;
    bool cancelled_ = false;
    bool changingLists_ = false;
};
