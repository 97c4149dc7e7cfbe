#include "ManagementCommands.h"

#include "AdapterBroadcast.h"
#include "Datagrams.h"
#include "Search.h"
#include "ServerList.h"

#include "common/FormState.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/TimedWait.h"
#include "platform/UdpSocket.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr double kRebootWaitSeconds = 12.0;
} // namespace

ManagementCommands::ManagementCommands(const CommandWidgets& widgets, FormState& state, Services& services,
                                       Search& search, ServerList& servers)
    : w_(widgets), state_(state), services_(services), search_(search), servers_(servers)
{
    connect(w_.cmdReboot, &QPushButton::clicked, this, &ManagementCommands::cmdReboot_Click);
    connect(w_.cmdDefault, &QPushButton::clicked, this, &ManagementCommands::cmdDefault_Click);
}

void ManagementCommands::cmdReboot_Click()
{
    state_.commandRunning = true;
    w_.picRefresh->setEnabled(false);
    w_.cmdReboot->setEnabled(false);
    w_.cmdDefault->setEnabled(false);
    w_.cmdSetIP->setEnabled(false);
    // A device that answers during the wait is listed, but not under a numbered heading.
    search_.listWithoutHeadings();
    w_.labStatus->setText(QStringLiteral("Sending Reboot.."));
    servers_.setText("");
    sendToSelected(TavikDatagram::RebootRequest(), 2);
    servers_.setText("Rebooting");
    waitThenRefresh();
}

void ManagementCommands::cmdDefault_Click()
{
    state_.commandRunning = true;
    w_.picRefresh->setEnabled(false);
    w_.cmdReboot->setEnabled(false);
    w_.cmdDefault->setEnabled(false);
    servers_.setText("Restoring defaults..");
    sendToSelected(TavikDatagram::LoadDefaultsRequest(), 1);
    waitThenRefresh();
}

void ManagementCommands::sendToSelected(const std::string& datagram, int copies)
{
    EnsureBound(services_.socket);
    bool sent = true;
    for (int i = 0; i < copies && sent; ++i)
        sent = services_.socket.send(datagram, state_.selectedIp, TavikDatagram::Port);
    if (!sent)
        services_.messages.show("Network error!");
}

void ManagementCommands::waitThenRefresh()
{
    state_.closing = false;
    TimedWait(
        services_.clock, services_.waiter, kRebootWaitSeconds, [this] { return state_.closing; },
        [this] { servers_.append("..."); });
    state_.commandRunning = false; // the refresh's search keeps the window busy from here
    if (!state_.closing)
        Q_EMIT refreshRequested();
}
