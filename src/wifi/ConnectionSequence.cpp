#include "ConnectionSequence.h"

#include "ProvisioningFiles.h"
#include "SetupApVariant.h"
#include "WifiScan.h"
#include "WlanProfileDocument.h"

#include "controls/Controls.h"
#include "platform/Clock.h"
#include "platform/CommandRunner.h"
#include "platform/EventWaiter.h"
#include "platform/Pinger.h"
#include "platform/ProvisioningCommands.h"
#include "platform/Services.h"
#include "platform/TimedWait.h"
#include "platform/UrlOpener.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kLightYellow(255, 255, 128);

constexpr double kPingSeconds = 5.0;
// A ping normally takes the echo test's own waiting time. One that fails at once
// (no route yet while the link comes up) is followed by this much waiting for
// events, so that the loop sleeps instead of spinning.
constexpr double kShortestPingRound = 0.1;

const char kRestartedText[] = "Wlan service restarted OK";
const char kPortalText[] = "Connection to portal OK. Please enter data in portal...";
const char kAdminText[] = "Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'";

void SetTextColour(QLabel& label, const QColor& colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

void SetBackColour(QPushButton& button, const QColor& colour)
{
    // Native styles (Windows' own, macOS) draw push buttons without the palette's
    // button colour; a style sheet is honoured by every style. The border keeps the
    // native frame from covering the colour. The sheet goes first: removing one
    // restores the palette the widget had when it was set.
    button.setStyleSheet(colour == kLightYellow
                             ? QStringLiteral("QPushButton { background-color: rgb(255, 255, 128);"
                                              " border: 1px solid palette(dark); border-radius: 2px; }")
                             : QString());
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, colour);
    button.setPalette(palette);
}

} // namespace

ConnectionSequence::ConnectionSequence(const Controls& c, Services& services, const WifiScan& setupAp, QObject* parent)
    : QObject(parent), c_(c), services_(services), setupAp_(setupAp)
{
    connect(c_.cmdWiFiConnect, &QPushButton::clicked, this, &ConnectionSequence::ConnectToSetupAp);
}

void ConnectionSequence::ConnectToSetupAp()
{
    // The busy state keeps the window from a second click; this also covers a call
    // from code while a run is waiting.
    if (running_)
        return;
    running_ = true;
    cancelled_ = false;
    const SetupApVariant& variant = SetupApVariantFor(setupAp_.useCurrentSetupAp());

    c_.labProgress->setText(QString());
    c_.labStatus->setText(QString());
    Q_EMIT busyStarted();
    SetBackColour(*c_.cmdWiFiConnect, kLightYellow);
    ProvisioningFiles files(services_.tempDir, services_.commands, services_.provisioning.lineEnd());
    files.create(); // without a directory every run fails with -1 and the failure text follows
    SetTextColour(*c_.labProgress, kBlack);
    SetTextColour(*c_.labStatus, kBlack);

    runSteps(files, variant);
    // A close between the switch-off and the switch-on would leave the PC without Wi-Fi after
    // the program is gone; nothing else of the sequence matters once the window is closed.
    if (wlanMayBeOff_)
        switchWlanOn(files);

    files.cleanUp();
    SetBackColour(*c_.cmdWiFiConnect, QApplication::palette(c_.cmdWiFiConnect).color(QPalette::Button));
    Q_EMIT busyEnded();
    running_ = false;
}

void ConnectionSequence::runSteps(ProvisioningFiles& files, const SetupApVariant& variant)
{
    showProgress("Stopping Wlan service");
    bool adminProblem = false;
    wlanMayBeOff_ = true;
    int exitCode = files.run(services_.provisioning.stopWlan());
    if (!wait(3.0))
        return;
    if (exitCode == ProvisioningCommands::kAccessDenied)
        adminProblem = true;

    exitCode = switchWlanOn(files);
    if (!wait(4.0))
        return;
    if (exitCode == 0) {
        showProgress(kRestartedText);
        copyProgressToStatus();
        if (!wait(4.0))
            return;
    } else {
        adminProblem = true;
    }

    if (const std::optional<std::string> document = WlanProfileDocument(variant.ssid, kSetupApPassphrase))
        files.writeProfile(*document);
    files.run(services_.provisioning.addProfile(files.profilePath(), variant.ssid, kSetupApPassphrase));
    if (cancelled_)
        return;

    showProgress(variant.connectingText);
    SetTextColour(*c_.labStatus, kBlack);
    copyProgressToStatus();
    exitCode = files.run(services_.provisioning.connect(variant.ssid));
    if (cancelled_)
        return;
    if (exitCode != 0) {
        // Joining failed outright: the service's state no longer matters.
        showFailure(variant.failureText);
    } else {
        showProgress(variant.waitingText);
        copyProgressToStatus();
        const bool answered = pingUntilAnswered(variant.pingAddress);
        if (cancelled_)
            return; // no browser opens for a window that is gone
        if (answered) {
            if (variant.opensPortal)
                services_.urls.open(kPortalUrl);
            showProgress(kPortalText);
            copyProgressToStatus();
        } else {
            showFailure(variant.failureText);
            if (adminProblem) {
                if (!wait(2.0))
                    return;
                showProgress(kAdminText);
                copyProgressToStatus();
            }
        }
    }
}

void ConnectionSequence::cancel()
{
    // Closing the window ends the sequence: the command running is ended with what it
    // started, no further step runs, and the private directory is still removed. The
    // switch-on is the one command a close must not cut short: it runs to its end or its
    // time limit, as a close before it would run it anyway.
    cancelled_ = true;
    if (!switchingOn_)
        services_.commands.cancel();
}

int ConnectionSequence::switchWlanOn(ProvisioningFiles& files)
{
    switchingOn_ = true;
    const int exitCode = files.run(services_.provisioning.startWlan());
    switchingOn_ = false;
    wlanMayBeOff_ = false;
    return exitCode;
}

bool ConnectionSequence::pingUntilAnswered(const std::string& address)
{
    const Clock& clock = services_.clock;
    const double deadline = clock.secondsSinceMidnight() + kPingSeconds;
    for (;;) {
        const double before = clock.secondsSinceMidnight();
        if (ClockReached(before, deadline) || PastMidnight(before) || cancelled_)
            return false;
        if (Pinger(services_.echo).Ping(address))
            return true;
        const double took = clock.secondsSinceMidnight() - before;
        if (took >= 0.0 && took < kShortestPingRound)
            TimedWait(clock, services_.waiter, kShortestPingRound - took, [this] { return cancelled_; });
        else
            services_.waiter.yieldOnce();
    }
}

bool ConnectionSequence::wait(double seconds)
{
    return TimedWait(services_.clock, services_.waiter, seconds, [this] { return cancelled_; });
}

void ConnectionSequence::showProgress(const std::string& text)
{
    c_.labProgress->setText(QString::fromStdString(text));
}

void ConnectionSequence::copyProgressToStatus() { c_.labStatus->setText(c_.labProgress->text()); }

void ConnectionSequence::showFailure(const std::string& failureText)
{
    SetTextColour(*c_.labProgress, kRed);
    showProgress(failureText);
    SetTextColour(*c_.labStatus, kRed);
    copyProgressToStatus();
}
