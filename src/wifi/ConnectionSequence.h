#pragma once

#include "WifiState.h"
#include "WifiWidgets.h"

#include <QObject>

#include <functional>
#include <string>

class BusyState;
class ProvisioningCommands;
class ProvisioningFiles;
struct SetupApVariant;
struct Services;

// Joins the PC to the gateway's setup access point and brings up its portal
// (ConnectToSetupAp, the click on cmdWiFiConnect), and lets the user choose the
// firmware generation by hand (the click on chkOldMurel).
class ConnectionSequence final : public QObject {
public:
    // True when the dotted address answers within the echo test's hop limit.
    using Ping = std::function<bool(const std::string& dottedAddress)>;

    // Connects to cmdWiFiConnect's and chkOldMurel's clicks.
    ConnectionSequence(const WifiWidgets& widgets, WifiState state, Services& services, BusyState& busy,
                       const ProvisioningCommands& commands, Ping ping, QObject* parent = nullptr);

    // Restarts the WLAN, registers the setup access point's profile, joins it, waits
    // for its ping and opens the portal, with progress and failure texts.
    void ConnectToSetupAp();
    // The firmware generation chosen with chkOldMurel.
    void chkOldMurel_Click();
    // Ends a running sequence at once (the window closes); does nothing otherwise.
    void cancel();

private:
    // The steps between creating and removing the private directory; returns early once cancelled.
    void runSteps(ProvisioningFiles& files, const SetupApVariant& variant);
    // Pings back to back until an answer or 5 s; a started ping runs to its end.
    bool pingUntilAnswered(const std::string& address);
    // False when a cancel ended the wait.
    bool wait(double seconds);
    void showProgress(const std::string& text);
    void copyProgressToStatus();
    void showFailure(const std::string& failureText);

    WifiWidgets widgets_;
    WifiState state_;
    Services& services_;
    BusyState& busy_;
    const ProvisioningCommands& commands_;
    Ping ping_;
    bool running_ = false;
    bool cancelled_ = false;
};
