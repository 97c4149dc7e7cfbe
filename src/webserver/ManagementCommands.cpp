#include "ManagementCommands.h"

#include "AdapterBroadcast.h"
#include "Datagrams.h"
#include "Search.h"
#include "ServerList.h"

#include "common/FormState.h"
#include "controls/Controls.h"
#include "controls/PictureButton.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/TimedWait.h"
#include "platform/UdpSocket.h"

#include <QLabel>
#include <QPushButton>

ManagementCommands::ManagementCommands(const Controls& c, const FormState& state, Services& services, Search& search,
                                       ServerList& servers, QObject* parent)
    : QObject(parent), c_(c), state_(state), services_(services), search_(search), servers_(servers)
{
    connect(c_.cmdReboot, &QPushButton::clicked, this, &ManagementCommands::cmdReboot_Click);
    connect(c_.cmdDefault, &QPushButton::clicked, this, &ManagementCommands::cmdDefault_Click);
}

void ManagementCommands::cmdReboot_Click()
{
    Q_EMIT commandStarted();
    c_.picRefresh->setEnabled(false);
    c_.cmdReboot->setEnabled(false);
    c_.cmdDefault->setEnabled(false);
    c_.cmdSetIP->setEnabled(false);
    // A device that answers during the wait is listed, but not under a numbered heading.
    search_.listWithoutHeadings();
    c_.labStatus->setText(QStringLiteral("Sending Reboot.."));
    servers_.setText("");
    sendToSelected(TavikDatagram::RebootRequest(), 2);
    servers_.setText("Rebooting");
    waitThenRefresh();
}

void ManagementCommands::cmdDefault_Click()
{
    Q_EMIT commandStarted();
    c_.picRefresh->setEnabled(false);
    c_.cmdReboot->setEnabled(false);
    c_.cmdDefault->setEnabled(false);
    servers_.setText("Restoring defaults..");
    sendToSelected(TavikDatagram::LoadDefaultsRequest(), 1);
    waitThenRefresh();
}

void ManagementCommands::sendToSelected(const std::string& datagram, int copies)
{
    if (!SendToDevice(services_.socket, datagram, copies, state_.selectedIp, state_.selectedInterface))
        services_.messages.show("Network error!");
}

void ManagementCommands::waitThenRefresh()
{
    TimedWait(
        services_.clock, services_.waiter, TavikDatagram::RebootSeconds, [this] { return state_.closing; },
        [this] { servers_.append("..."); });
    Q_EMIT commandEnded(); // the refresh's search keeps the window busy from here
    if (!state_.closing)
        Q_EMIT refreshRequested();
}
