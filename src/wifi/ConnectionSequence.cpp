#include "ConnectionSequence.h"

#include "ProvisioningFiles.h"
#include "SetupApVariant.h"
#include "SetupApChoice.h"

#include "controls/ProgressLine.h"
#include "WlanProfileDocument.h"

#include "platform/Clock.h"
#include "platform/CommandRunner.h"
#include "platform/BackgroundCalls.h"
#include "platform/Pinger.h"
#include "platform/ProvisioningCommands.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"

#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);

constexpr double kPingSeconds = 5.0;
// A ping normally takes the echo test's own waiting time. One that fails at once
// (no route yet while the link comes up) is followed by a wait for the rest of this,
// so that the rounds do not come back to back.
constexpr double kShortestPingRound = 0.1;

const char kRestartedText[] = "Wlan service restarted OK";
const char kPortalText[] = "Connection to portal OK. Please enter data in portal...";
const char kAdminText[] = "Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'";

} // namespace

ConnectionSequence::ConnectionSequence(const WifiControls& c, Services& services, const SetupApChoice& setupAp,
                                       ProgressLine& progress, QObject* parent)
    : QObject(parent), c_(c), services_(services), setupAp_(setupAp), progress_(progress),
      wait_(services.clock, services.timers)
{
    connect(c_.cmdWiFiConnect, &QPushButton::clicked, this, &ConnectionSequence::ConnectToSetupAp);
}

ConnectionSequence::~ConnectionSequence() = default;

void ConnectionSequence::ConnectToSetupAp()
{
    // The busy window takes no second click; a call from code while a run goes on is ignored too.
    if (running_)
        return;
    running_ = true;
    status_.start();
    cancelled_ = false;
    adminProblem_ = false;
    variant_ = &SetupApVariantFor(setupAp_.useCurrentSetupAp());

    showProgress({});
    status_.show(QString());
    Q_EMIT changed();
    files_ = std::make_unique<ProvisioningFiles>(services_.tempDir, services_.provisioning.lineEnd());
    files_->create(); // without a directory every run fails with -1 and the failure text follows
    progress_.setColour(kBlack);
    colourStatus(kBlack);
    stopWlan();
}

void ConnectionSequence::stopWlan()
{
    showProgress("Stopping Wlan service");
    wlanMayBeOff_ = true;
    runCommand(services_.provisioning.stopWlan(),
               [this](int exitCode) { wait(3.0, [this, exitCode] { wlanStopped(exitCode); }); });
}

void ConnectionSequence::wlanStopped(int exitCode)
{
    if (exitCode == ProvisioningCommands::kAccessDenied)
        adminProblem_ = true;
    switchWlanOn([this](int startCode) { wait(4.0, [this, startCode] { wlanStarted(startCode); }); });
}

void ConnectionSequence::wlanStarted(int exitCode)
{
    if (exitCode != 0) {
        adminProblem_ = true;
        addProfile();
        return;
    }
    showProgress(kRestartedText);
    copyProgressToStatus();
    wait(4.0, [this] { addProfile(); });
}

void ConnectionSequence::addProfile()
{
    if (const std::optional<std::string> document = WlanProfileDocument(variant_->ssid, kSetupApPassphrase))
        files_->writeProfile(*document);
    runCommand(services_.provisioning.addProfile(files_->profilePath(), variant_->ssid, kSetupApPassphrase),
               [this](int) { join(); });
}

void ConnectionSequence::join()
{
    showProgress(variant_->connectingText);
    colourStatus(kBlack);
    copyProgressToStatus();
    runCommand(services_.provisioning.connect(variant_->ssid), [this](int exitCode) { joined(exitCode); });
}

void ConnectionSequence::joined(int exitCode)
{
    if (exitCode != 0) {
        // Joining failed outright: the service's state no longer matters.
        showFailure(variant_->failureText);
        cleanUp();
        return;
    }
    showProgress(variant_->waitingText);
    copyProgressToStatus();
    pingDeadline_ = services_.clock.elapsedSeconds() + kPingSeconds;
    pingRound();
}

void ConnectionSequence::pingRound()
{
    const double start = services_.clock.elapsedSeconds();
    if (start >= pingDeadline_) {
        pingEnded(false);
        return;
    }
    callRunning_ = true;
    services_.background.start(
        [pinger = Pinger(services_.echo), address = variant_->pingAddress] { return pinger.Ping(address) ? 1 : 0; },
        [self = QPointer(this), start](int answered) {
            if (self)
                self->pingAnswered(answered != 0, start);
        });
}

void ConnectionSequence::pingAnswered(bool answered, double roundStart)
{
    callRunning_ = false;
    if (cancelled_) {
        finishCancelled(); // no browser opens for a window that is gone
        return;
    }
    if (answered) {
        pingEnded(true);
        return;
    }
    const double took = services_.clock.elapsedSeconds() - roundStart;
    wait(took < kShortestPingRound ? kShortestPingRound - took : 0.0, [this] { pingRound(); });
}

void ConnectionSequence::pingEnded(bool answered)
{
    if (answered) {
        if (variant_->opensPortal)
            services_.urls.open(kPortalUrl);
        showProgress(kPortalText);
        copyProgressToStatus();
        cleanUp();
        return;
    }
    showFailure(variant_->failureText);
    if (!adminProblem_) {
        cleanUp();
        return;
    }
    wait(2.0, [this] {
        showProgress(kAdminText);
        copyProgressToStatus();
        cleanUp();
    });
}

void ConnectionSequence::runCommand(const std::optional<std::string>& commandLine, std::function<void(int)> then)
{
    startScript(commandLine, [this, then = std::move(then)](int exitCode) {
        if (cancelled_)
            finishCancelled();
        else
            then(exitCode);
    });
}

void ConnectionSequence::startScript(const std::optional<std::string>& commandLine, std::function<void(int)> ended)
{
    const std::optional<std::string> script = files_->writeScript(commandLine);
    CommandRunner& runner = services_.commands;
    callRunning_ = true;
    services_.background.start(
        [&runner, script] { return script ? runner.run(*script, ProvisioningFiles::kCommandTimeoutSeconds) : -1; },
        [self = QPointer(this), ended = std::move(ended)](int exitCode) {
            if (!self)
                return;
            self->callRunning_ = false;
            ended(exitCode);
        });
}

void ConnectionSequence::switchWlanOn(std::function<void(int)> then)
{
    switchingOn_ = true;
    wlanMayBeOff_ = false;
    runCommand(services_.provisioning.startWlan(), [this, then = std::move(then)](int exitCode) {
        switchingOn_ = false;
        then(exitCode);
    });
}

void ConnectionSequence::wait(double seconds, std::function<void()> then) { wait_.start(seconds, std::move(then)); }

void ConnectionSequence::cancel()
{
    // Closing the window ends the sequence: the command running is ended with what it
    // started, no further step runs, and the private directory is still removed. The
    // switch-on is the one command a close must not cut short: it runs to its end or its
    // time limit, as a close before it would run it anyway.
    if (!switchingOn_)
        services_.commands.cancel();
    if (!running_ || cancelled_)
        return;
    cancelled_ = true;
    wait_.cancel();
    if (!callRunning_)
        finishCancelled(); // else the call's answer finishes it
}

void ConnectionSequence::finishCancelled()
{
    switchingOn_ = false;
    if (!wlanMayBeOff_) {
        cleanUp();
        return;
    }
    // A close between the switch-off and the switch-on would leave the PC without Wi-Fi
    // after the program is gone.
    wlanMayBeOff_ = false;
    startScript(services_.provisioning.startWlan(), [this](int) { cleanUp(); });
}

void ConnectionSequence::cleanUp()
{
    files_.reset(); // removes the private directory
    running_ = false;
    status_.end();
    Q_EMIT changed();
}

void ConnectionSequence::showProgress(const std::string& text) { progress_.show(QString::fromStdString(text)); }

void ConnectionSequence::copyProgressToStatus()
{
    status_.show(progress_.text());
    Q_EMIT changed();
}

void ConnectionSequence::colourStatus(const QColor& colour)
{
    status_.setColour(colour);
    Q_EMIT changed();
}

void ConnectionSequence::showFailure(const std::string& failureText)
{
    progress_.setColour(kRed);
    showProgress(failureText);
    colourStatus(kRed);
    copyProgressToStatus();
}
