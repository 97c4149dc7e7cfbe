#include "IpSetupPanel.h"

#include "AdapterBroadcast.h"
#include "Search.h"
#include "ServerList.h"
#include "SetupDatagrams.h"

#include "common/FormState.h"
#include "common/Latin1.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/TimedWait.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

namespace {
constexpr double kSendPhaseSeconds = 3.0;
constexpr double kCopyIntervalSeconds = 1.0;
constexpr double kRebootWaitSeconds = 12.0;
} // namespace

IpSetupPanel::IpSetupPanel(const IpSetupWidgets& widgets, FormState& state, const AdapterTable& nics,
                           Services& services, Search& search, ServerList& servers)
    : w_(widgets), state_(state), nics_(nics), services_(services), servers_(servers)
{
    // An answer to the setup datagram is the device listing itself again.
    connect(&search, &Search::listed, this, [this] { replyArrived_ = true; });
    connect(w_.cmdSetIP, &QPushButton::clicked, this, &IpSetupPanel::cmdSetIP_Click);
    connect(w_.cmdIPCancel, &QPushButton::clicked, this, &IpSetupPanel::cmdIPCancel_Click);
    connect(w_.cmdIPOK, &QPushButton::clicked, this, &IpSetupPanel::cmdIPOK_Click);
    // Selecting an option by program (a server selection) counts as a click too.
    for (QRadioButton* option : w_.optAutoIP)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optAutoIP_Click();
        });
}

void IpSetupPanel::cmdSetIP_Click()
{
    w_.cmdReboot->setEnabled(false);
    w_.cmdSetIP->setEnabled(false);
    w_.picRefresh->setEnabled(false);
    w_.txtServers->setEnabled(false);
    w_.fraSetIP->setTitle(QStringLiteral("Set IP on ") + AnsiBytesToText(state_.selectedMac));
    w_.fraSetIP->show();
}

void IpSetupPanel::optAutoIP_Click() { w_.fraIP->setEnabled(w_.optAutoIP[1]->isChecked()); }

void IpSetupPanel::cmdIPCancel_Click()
{
    w_.cmdReboot->setEnabled(true);
    w_.cmdSetIP->setEnabled(true);
    w_.picRefresh->setEnabled(true);
    w_.txtServers->setEnabled(true);
    w_.fraSetIP->hide();
}

std::string IpSetupPanel::buildDatagram() const
{
    const std::string port = TextToBytes(w_.txtPort->text());
    if (w_.optAutoIP[0]->isChecked())
        return TavikSetup::SetDHCPRequest(port, state_.selectedMac);
    TavikSetup::OctetBoxTexts boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = TextToBytes(w_.txtIPadres[i]->text());
    return TavikSetup::SetIPRequest(boxes, port, state_.selectedMac);
}

bool IpSetupPanel::sendCopy(const std::string& datagram)
{
    // Every adapter gets its copy, as the list request does: the device may sit on any
    // of them. Without a known adapter the system chooses the way out. One adapter that
    // refuses does not keep the copy from the others.
    const int adapters = w_.TabNIC->count();
    bool anySent = false;
    bool anyRefused = false;
    for (int adapter = 0; adapter < std::max(adapters, 1); ++adapter) {
        const BroadcastResult result = BroadcastOutOfAdapter(services_.socket, nics_, adapters ? adapter : -1,
                                                             datagram);
        anySent = anySent || result == BroadcastResult::Sent;
        anyRefused = anyRefused || result == BroadcastResult::Refused;
    }
    return anySent || !anyRefused;
}

void IpSetupPanel::sendPhase(const std::string& datagram)
{
    const Clock& clock = services_.clock;
    state_.closing = false;
    replyArrived_ = false;
    const double deadline = clock.secondsSinceMidnight() + kSendPhaseSeconds;
    for (;;) {
        const double now = clock.secondsSinceMidnight();
        if (ClockReached(now, deadline) || PastMidnight(now) || replyArrived_ || state_.closing)
            return;
        if (!sendCopy(datagram)) {
            services_.messages.show("Network error!");
            return;
        }
        TimedWait(clock, services_.waiter, kCopyIntervalSeconds, [this] { return state_.closing; });
    }
}

void IpSetupPanel::rebootWait()
{
    w_.cmdReboot->setText(QStringLiteral("Reboot"));
    servers_.setText("");
    w_.labStatus->setText(QStringLiteral("IPsetup sent OK. Rebooting"));
    TimedWait(
        services_.clock, services_.waiter, kRebootWaitSeconds, [this] { return state_.closing; },
        [this] { w_.labStatus->setText(w_.labStatus->text() + "..."); });
}

bool IpSetupPanel::settingsKeepDeviceReachable()
{
    // An empty box would be sent as 0: address x.y.z.0 or port 0 cuts the device off until
    // it is reset by hand. Empty mask, gateway and DNS boxes are sent as 0 on purpose.
    QLineEdit* empty = nullptr;
    const char* message = nullptr;
    if (w_.optAutoIP[1]->isChecked()) {
        const auto row = std::find_if(w_.txtIPadres.begin(), w_.txtIPadres.begin() + 4,
                                      [](const QLineEdit* box) { return box->text().isEmpty(); });
        if (row != w_.txtIPadres.begin() + 4) {
            empty = *row;
            message = "Please fill in all four numbers of the IP address.";
        }
    }
    if (!empty && w_.txtPort->text().isEmpty()) {
        empty = w_.txtPort;
        message = "Please enter a port number.";
    }
    if (!empty)
        return true;
    services_.messages.show(message);
    empty->setFocus(Qt::OtherFocusReason);
    return false;
}

void IpSetupPanel::cmdIPOK_Click()
{
    if (!settingsKeepDeviceReachable())
        return; // the panel stays open for the correction
    w_.fraSetIP->hide();
    state_.commandRunning = true;
    sendPhase(buildDatagram());
    if (replyArrived_ && !state_.closing)
        rebootWait();
    state_.commandRunning = false;
    w_.picRefresh->setEnabled(true);
    w_.txtServers->setEnabled(true);
    w_.fraSetIP->hide();
    if (!state_.closing)
        Q_EMIT refreshRequested();
}
