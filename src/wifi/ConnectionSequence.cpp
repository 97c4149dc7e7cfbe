#include "ConnectionSequence.h"

#include "ProvisioningFiles.h"
#include "SetupApVariant.h"
#include "WlanProfileDocument.h"

#include "common/BusyState.h"
#include "common/TimedWait.h"
#include "platform/Clock.h"
#include "platform/EventWaiter.h"
#include "platform/ProvisioningCommands.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"

#include <QApplication>
#include <QCheckBox>
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
const char kCurrentCaption[] = "Connect to TAVIK-MUREL and open portal in web browser";
const char kOldCaption[] = "Connect to TAVIK MUREL and wait for portal to open in web browser";

void SetTextColour(QLabel& label, const QColor& colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

void SetBackColour(QPushButton& button, const QColor& colour)
{
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, colour);
    button.setPalette(palette);
}

} // namespace

ConnectionSequence::ConnectionSequence(const WifiWidgets& widgets, WifiState state, Services& services,
                                       BusyState& busy, const ProvisioningCommands& commands, Ping ping,
                                       QObject* parent)
    : QObject(parent), widgets_(widgets), state_(state), services_(services), busy_(busy),
      commands_(commands), ping_(std::move(ping))
{
    connect(widgets_.cmdWiFiConnect, &QPushButton::clicked, this, [this] { ConnectToSetupAp(); });
    connect(widgets_.chkOldMurel, &QCheckBox::clicked, this, [this] { chkOldMurel_Click(); });
}

void ConnectionSequence::chkOldMurel_Click()
{
    const bool old = widgets_.chkOldMurel->isChecked();
    widgets_.cmdWiFiConnect->setText(old ? kOldCaption : kCurrentCaption);
    state_.useCurrentSetupAp = !old;
    state_.useOldSetupAp = old;
}

void ConnectionSequence::ConnectToSetupAp()
{
    // The busy state keeps the window from a second click; this also covers a call
    // from code while a run is waiting.
    if (running_)
        return;
    running_ = true;
    const SetupApVariant& variant = SetupApVariantFor(state_.useCurrentSetupAp);

    widgets_.labProgress->setText(QString());
    widgets_.labStatus->setText(QString());
    busy_.enterBusy();
    SetBackColour(*widgets_.cmdWiFiConnect, kLightYellow);
    ProvisioningFiles files(services_.tempDir, services_.commands, commands_.lineEnd());
    files.create(); // without a directory every run fails with -1 and the failure text follows
    SetTextColour(*widgets_.labProgress, kBlack);
    SetTextColour(*widgets_.labStatus, kBlack);

    showProgress("Stopping Wlan service");
    bool adminProblem = false;
    int exitCode = files.run(commands_.stopWlan());
    wait(3.0);
    if (exitCode == ProvisioningCommands::kAccessDenied)
        adminProblem = true;

    exitCode = files.run(commands_.startWlan());
    wait(4.0);
    if (exitCode == 0) {
        showProgress(kRestartedText);
        copyProgressToStatus();
        wait(4.0);
    } else {
        adminProblem = true;
    }

    if (const std::optional<std::string> document = WlanProfileDocument(variant.ssid, kSetupApPassphrase))
        files.writeProfile(*document);
    files.run(commands_.addProfile(files.profilePath(), variant.ssid, kSetupApPassphrase));

    showProgress(variant.connectingText);
    SetTextColour(*widgets_.labStatus, kBlack);
    copyProgressToStatus();
    exitCode = files.run(commands_.connect(variant.ssid));
    if (exitCode != 0) {
        // Joining failed outright: the service's state no longer matters.
        showFailure(variant.failureText);
    } else {
        showProgress(variant.waitingText);
        copyProgressToStatus();
        if (pingUntilAnswered(variant.pingAddress)) {
            if (variant.opensPortal)
                services_.urls.open(kPortalUrl);
            showProgress(kPortalText);
            copyProgressToStatus();
        } else {
            showFailure(variant.failureText);
            if (adminProblem) {
                wait(2.0);
                showProgress(kAdminText);
                copyProgressToStatus();
            }
        }
    }

    files.cleanUp();
    SetBackColour(*widgets_.cmdWiFiConnect,
                  QApplication::palette(widgets_.cmdWiFiConnect).color(QPalette::Button));
    busy_.leaveBusy();
    running_ = false;
}

bool ConnectionSequence::pingUntilAnswered(const std::string& address)
{
    const Clock& clock = services_.clock;
    const double deadline = clock.secondsSinceMidnight() + kPingSeconds;
    for (;;) {
        const double before = clock.secondsSinceMidnight();
        if (ClockReached(before, deadline) || PastMidnight(before))
            return false;
        if (ping_(address))
            return true;
        const double took = clock.secondsSinceMidnight() - before;
        if (took >= 0.0 && took < kShortestPingRound)
            TimedWait(clock, services_.waiter, kShortestPingRound - took);
        else
            services_.waiter.yieldOnce();
    }
}

void ConnectionSequence::wait(double seconds) { TimedWait(services_.clock, services_.waiter, seconds); }

void ConnectionSequence::showProgress(const std::string& text)
{
    widgets_.labProgress->setText(QString::fromStdString(text));
}

void ConnectionSequence::copyProgressToStatus() { widgets_.labStatus->setText(widgets_.labProgress->text()); }

void ConnectionSequence::showFailure(const std::string& failureText)
{
    SetTextColour(*widgets_.labProgress, kRed);
    showProgress(failureText);
    SetTextColour(*widgets_.labStatus, kRed);
    copyProgressToStatus();
}
