#include "ManagementCommands.h"

#include "Datagrams.h"
#include "ServerList.h"

#include "common/FormState.h"
#include "common/TimedWait.h"
#include "platform/Clock.h"
#include "platform/EventWaiter.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/UdpSocket.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kRebootWaitSeconds = 12.0;
// From here on the discovery cycle lists new replies without a numbered heading.
constexpr int kNoHeadingCount = 99;
} // namespace

ManagementCommands::ManagementCommands(const CommandWidgets& widgets, FormState& state, Services& services,
                                       ServerList& servers, std::function<void()> refresh)
    : w_(widgets), state_(state), services_(services), servers_(servers), refresh_(std::move(refresh))
{
}

void ManagementCommands::cmdReboot_Click()
{
    w_.picRefresh->setEnabled(false);
    w_.cmdReboot->setEnabled(false);
    w_.cmdDefault->setEnabled(false);
    w_.cmdSetIP->setEnabled(false);
    state_.serverCount = kNoHeadingCount;
    w_.labStatus->setText(QStringLiteral("Sending Reboot.."));
    servers_.setText("");
    sendToSelected(TavikDatagram::RebootRequest(), 2);
    servers_.setText("Rebooting");
    waitThenRefresh();
}

void ManagementCommands::cmdDefault_Click()
{
    w_.picRefresh->setEnabled(false);
    w_.cmdReboot->setEnabled(false);
    w_.cmdDefault->setEnabled(false);
    servers_.setText("Restoring defaults..");
    sendToSelected(TavikDatagram::LoadDefaultsRequest(), 1);
    waitThenRefresh();
}

void ManagementCommands::sendToSelected(const std::string& datagram, int copies)
{
    // The socket keeps its port (and the replies in its buffer); it is bound again
    // only when it has lost it.
    if (!services_.socket.isBound())
        services_.socket.bind(TavikDatagram::Port);
    bool sent = true;
    for (int i = 0; i < copies && sent; ++i)
        sent = services_.socket.send(datagram, state_.selectedIp, TavikDatagram::Port);
    if (!sent)
        services_.messages.show("Network error!");
}

void ManagementCommands::waitThenRefresh()
{
    const Clock& clock = services_.clock;
    const double deadline = clock.secondsSinceMidnight() + kRebootWaitSeconds;
    double second = std::floor(clock.secondsSinceMidnight());
    state_.closing = false;
    for (;;) {
        const double now = clock.secondsSinceMidnight();
        if (ClockReached(now, deadline) || PastMidnight(now)) {
            if (!state_.closing)
                refresh_();
            return;
        }
        if (state_.closing)
            return;
        // Sleep until the next whole second (the next dot) or an event, whichever first.
        services_.waiter.waitForEvent(std::clamp(std::min(second + 1.0, deadline) - now, 0.001, 1.0));
        const double wholeSecond = std::floor(clock.secondsSinceMidnight());
        if (wholeSecond != second) {
            second = wholeSecond;
            servers_.append("...");
        }
    }
}
