#include "ManagementCommands.h"

#include "devices/AdapterBroadcast.h"
#include "devices/Datagrams.h"
#include "devices/DeviceSearch.h"
#include "ServerList.h"

#include "controls/Controls.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/UdpSocket.h"

#include <QPointer>
#include <QPushButton>

ManagementCommands::ManagementCommands(const Controls& c, Services& services, DeviceSearch& search, ServerList& servers,
                                       QObject* parent)
    : QObject(parent), c_(c), services_(services), search_(search), servers_(servers),
      wait_(services.clock, services.timers)
{
    connect(c_.cmdReboot, &QPushButton::clicked, this, &ManagementCommands::cmdReboot_Click);
    connect(c_.cmdDefault, &QPushButton::clicked, this, &ManagementCommands::cmdDefault_Click);
}

void ManagementCommands::start(DeviceCommand command)
{
    running_ = true;
    Q_EMIT commandStarted(command);
}

void ManagementCommands::cmdReboot_Click()
{
    start(DeviceCommand::Reboot);
    // A device that answers during the wait is listed, but not under a numbered heading.
    search_.listWithoutHeadings();
    Q_EMIT statusShown(QStringLiteral("Sending Reboot.."));
    servers_.setText("");
    sendToSelected(TavikDatagram::DatagramFor(TavikDatagram::DeviceRequest::Reboot), [this] {
        servers_.setText("Rebooting");
        waitThenRefresh();
    });
}

void ManagementCommands::cmdDefault_Click()
{
    start(DeviceCommand::LoadDefaults);
    servers_.setText("Restoring defaults..");
    sendToSelected(TavikDatagram::DatagramFor(TavikDatagram::DeviceRequest::LoadDefaults),
                   [this] { waitThenRefresh(); });
}

void ManagementCommands::sendToSelected(const TavikDatagram::RequestDatagram& request, std::function<void()> then)
{
    if (SendToDevice(services_.socket, request.bytes, request.copies, selection_.ip, selection_.interfaceIndex)) {
        then();
        return;
    }
    services_.messages.show("Network error!", [self = QPointer(this), then = std::move(then)] {
        if (self && self->running_)
            then();
    });
}

void ManagementCommands::waitThenRefresh()
{
    wait_.start(TavikDatagram::RebootSeconds, [this] { end(); }, [this] { servers_.append("..."); });
}

void ManagementCommands::end()
{
    running_ = false;
    Q_EMIT commandEnded(); // the refresh's search keeps the window busy from here
    Q_EMIT refreshRequested();
}

void ManagementCommands::cancel()
{
    if (!running_)
        return;
    wait_.cancel();
    running_ = false;
    Q_EMIT commandEnded();
}
