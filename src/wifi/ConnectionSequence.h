#pragma once

#include "controls/ControlView.h"

#include "controls/StatusShare.h"
#include "platform/StepWait.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class ProgressLine;
class ProvisioningFiles;
class SetupApChoice;
struct SetupApVariant;
struct Services;

// Joins the PC to the gateway's setup access point and brings up its portal
// (ConnectToSetupAp, the click on cmdWiFiConnect). The window is busy meanwhile, which
// also marks the button as running.
class ConnectionSequence final : public QObject {
    Q_OBJECT
public:
    // Connects to cmdWiFiConnect's click; the target access point is setupAp's choice.
    ConnectionSequence(const WifiControls& c, Services& services, const SetupApChoice& setupAp, ProgressLine& progress,
                       QObject* parent = nullptr);
    ~ConnectionSequence() override;

    // Restarts the WLAN, registers the setup access point's profile, joins it, waits
    // for its ping and opens the portal, with progress and failure texts. Each command,
    // ping and wait is a step: the call returns at once.
    void ConnectToSetupAp();
    // Ends a running sequence (the window closes): no further step runs, the command that
    // runs is ended, and a WLAN that the sequence has begun to switch off is switched on
    // again before the clean-up. running() ends once that is done.
    void cancel();
    // From the first step to the end of the clean-up: the window is busy meanwhile, which
    // marks the button as running.
    bool running() const { return running_; }
    // The sequence's part of the status line: its progress texts, red on failure.
    const StatusShare& status() const { return status_; }

Q_SIGNALS:
    void changed();

private:
    void stopWlan();
    void wlanStopped(int exitCode);
    void wlanStarted(int exitCode);
    void addProfile();
    void join();
    void joined(int exitCode);
    // Pings back to back until an answer or 5 s; a started ping runs to its end.
    void pingRound();
    void pingAnswered(bool answered, double roundStart);
    void pingEnded(bool answered);
    // Runs a command line of the private directory on the background thread; `then` gets
    // its exit code, unless the sequence was cancelled meanwhile.
    void runCommand(const std::optional<std::string>& commandLine, std::function<void(int)> then);
    // Writes the command line as the script and runs it on the background thread; `ended`
    // gets its exit code (-1 when the script could not be written), cancelled or not.
    void startScript(const std::optional<std::string>& commandLine, std::function<void(int)> ended);
    // Switches the WLAN on; from its start a close no longer needs a switch-on of its own.
    void switchWlanOn(std::function<void(int)> then);
    // Waits, then goes on with `then`, unless the sequence was cancelled meanwhile.
    void wait(double seconds, std::function<void()> then);
    // After a cancel, once nothing runs any more: the switch-on a close still owes, then the clean-up.
    void finishCancelled();
    void cleanUp();
    void showProgress(const std::string& text);
    void copyProgressToStatus();
    void colourStatus(const QColor& colour);
    void showFailure(const std::string& failureText);

    const WifiControls c_;
    Services& services_;
    const SetupApChoice& setupAp_;
    ProgressLine& progress_;
    std::unique_ptr<ProvisioningFiles> files_;
    const SetupApVariant* variant_ = nullptr;
    StepWait wait_;
    bool running_ = false;
    StatusShare status_;
    bool cancelled_ = false;
    bool adminProblem_ = false;
    double pingDeadline_ = 0.0;
    // From the start of the switch-off until the switch-on has run: the PC may be without Wi-Fi.
    bool wlanMayBeOff_ = false;
    bool switchingOn_ = false;
    // A command or ping runs on the background thread; its answer is still to come.
    bool callRunning_ = false;
};
