#pragma once

#include "GatewayCaption.h"

#include "platform/StepWait.h"
#include "platform/Wlan.h"

#include <QObject>

#include <optional>
#include <string>

struct Controls;
struct Services;

// The Wi-Fi panel: lists the networks the first WLAN adapter knows with their signal
// (Scan, the click on picRescan), copies a picked network name into txtSSID, and keeps
// which setup access point the gateway connection targets: the one a scan found, or
// the one chosen by hand with chkOldMurel. It alone writes that choice and the WLAN
// client of the last scan, and it alone judges the connect readiness of the boxes.
class WifiScan final : public QObject {
    Q_OBJECT
public:
    // Connects to picRescan's and chkOldMurel's clicks, to the selection changes of
    // lstSSID and lstSignal, and to the boxes whose changes judge the readiness again.
    WifiScan(const Controls& c, Services& services, QObject* parent = nullptr);

    void Scan();
    // The firmware generation chosen with chkOldMurel.
    void chkOldMurel_Click();
    // The window starts out targeting the current firmware's access point, before any scan.
    void chooseCurrentSetupAp();
    // The connection targets "TAVIK-MUREL" (else "TAVIK MUREL").
    bool useCurrentSetupAp() const { return useCurrentSetupAp_; }
    // Ends the WLAN notifications once more on the last scan's client (the window closes).
    void endNotifications();
    // Ends the scan's wait at once (the window closes); nothing is listed then.
    void cancel();
    // From the click to the end of the listing (and of the box that may end it).
    bool running() const { return scanning_; }

    // The readiness rule's last verdict on the Wi-Fi boxes; none since a search ended, which
    // offers the gateway whatever the boxes hold.
    std::optional<bool> connectReady() const { return connectReady_; }
    void forgetReadiness();
    // Follows a scan's find of a setup access point (current: "TAVIK-MUREL") or the
    // firmware generation chosen by hand with chkOldMurel.
    GatewayCaption gatewayCaption() const { return gatewayCaption_; }

Q_SIGNALS:
    void changed();

private:
    // After the half-second wait: asks the WLAN service for its networks.
    void listNetworks();
    void scanEnded();
    void listNetwork(const std::string& ssid, unsigned signalQuality);
    void takeFoundSetupAp(bool current);
    void chooseSetupAp(bool current);
    void judgeConnectReadiness();
    // A line picked in either list: the same line in both, then the SSID-pick action.
    void listPicked(int row);
    void pickSsid(int row);
    void clearLists();

    const Controls& c_;
    Services& services_;
    bool useCurrentSetupAp_ = false;
    bool useOldSetupAp_ = false; // the old firmware's access point was found or chosen
    std::optional<bool> connectReady_;
    GatewayCaption gatewayCaption_ = GatewayCaption::Designed;
    Wlan::Handle hWlanClient_ = 0; // 0 before any scan; never closed
    bool scanning_ = false;
    StepWait wait_;
    bool changingLists_ = false;
};
