#pragma once

#include "controls/ControlView.h"

#include "platform/StepWait.h"
#include "platform/Wlan.h"

#include <QObject>

#include <string>

class ProgressLine;
class SetupApChoice;
struct Services;

// The Wi-Fi panel's scan: lists the networks the first WLAN adapter knows with their signal
// (Scan, the click on picRescan), copies a picked network name into txtSSID, and tells the
// setup access point choice which setup access point it found. It alone writes the WLAN
// client of the last scan.
class WifiScan final : public QObject {
    Q_OBJECT
public:
    // Connects to picRescan's clicks and to the selection changes of lstSSID and lstSignal.
    WifiScan(const WifiControls& c, Services& services, SetupApChoice& setupAp, ProgressLine& progress,
             QObject* parent = nullptr);

    void Scan();
    // The suggestion frame takes input from the start, until a scan finds no WLAN client or
    // adapter; the scan alone decides, and the window enables the frame by it.
    void offerSuggestions();
    bool suggestionsOffered() const { return suggestionsOffered_; }
    // Ends the WLAN notifications once more on the last scan's client (the window closes).
    void endNotifications();
    // Ends the scan's wait at once (the window closes); nothing is listed then.
    void cancel();
    // From the click to the end of the listing (and of the box that may end it).
    bool running() const { return scanning_; }

Q_SIGNALS:
    // Whether the suggestions are offered changed.
    void changed();

private:
    void setSuggestionsOffered(bool offered);
    // After the half-second wait: asks the WLAN service for its networks.
    void listNetworks();
    void scanEnded();
    void listNetwork(const std::string& ssid, unsigned signalQuality);
    void takeFoundSetupAp(bool current);
    // A line picked in either list: the same line in both, then the SSID-pick action.
    void listPicked(int row);
    void pickSsid(int row);
    void clearLists();

    const WifiControls c_;
    Services& services_;
    SetupApChoice& setupAp_;
    ProgressLine& progress_;
    Wlan::Handle hWlanClient_ = 0; // 0 before any scan; never closed
    bool scanning_ = false;
    StepWait wait_;
    bool changingLists_ = false;
    bool suggestionsOffered_ = false;
};
