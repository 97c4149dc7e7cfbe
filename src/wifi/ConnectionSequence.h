#pragma once

#include <QObject>

#include <string>

class ProvisioningFiles;
class WifiScan;
struct Controls;
struct SetupApVariant;
struct Services;

// Joins the PC to the gateway's setup access point and brings up its portal
// (ConnectToSetupAp, the click on cmdWiFiConnect). The window is busy meanwhile.
class ConnectionSequence final : public QObject {
    Q_OBJECT
public:
    // Connects to cmdWiFiConnect's click; the target access point is setupAp's choice.
    ConnectionSequence(const Controls& c, Services& services, const WifiScan& setupAp, QObject* parent = nullptr);

    // Restarts the WLAN, registers the setup access point's profile, joins it, waits
    // for its ping and opens the portal, with progress and failure texts.
    void ConnectToSetupAp();
    // Ends a running sequence at once (the window closes); does nothing otherwise. A WLAN
    // that the sequence has begun to switch off is still switched on before the run returns.
    void cancel();

Q_SIGNALS:
    // The window takes no input from the first step to the end of the clean-up.
    void busyStarted();
    void busyEnded();

private:
    // The steps between creating and removing the private directory; returns early once cancelled.
    void runSteps(ProvisioningFiles& files, const SetupApVariant& variant);
    // Runs the switch-on command; from then on a close no longer needs one of its own.
    int switchWlanOn(ProvisioningFiles& files);
    // Pings back to back until an answer or 5 s; a started ping runs to its end.
    bool pingUntilAnswered(const std::string& address);
    // False when a cancel ended the wait.
    bool wait(double seconds);
    void showProgress(const std::string& text);
    void copyProgressToStatus();
    void showFailure(const std::string& failureText);

    const Controls& c_;
    Services& services_;
    const WifiScan& setupAp_;
    bool running_ = false;
    bool cancelled_ = false;
    // From the start of the switch-off until the switch-on has run: the PC may be without Wi-Fi.
    bool wlanMayBeOff_ = false;
    bool switchingOn_ = false;
};
