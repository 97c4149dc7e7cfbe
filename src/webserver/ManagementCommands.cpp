#include "ManagementCommands.h"

#include "ServerList.h"

#include "controls/Controls.h"
#include "devices/CommandRequest.h"
#include "devices/DeviceCommandRun.h"
#include "devices/DeviceSearch.h"
#include "devices/ListingText.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QPointer>
#include <QPushButton>

ManagementCommands::ManagementCommands(const Controls& c, Services& services, DeviceSearch& search, ServerList& servers,
                                       DeviceCommandRun& run, QObject* parent)
    : QObject(parent), c_(c), services_(services), search_(search), servers_(servers), run_(run)
{
    connect(c_.cmdReboot, &QPushButton::clicked, this, &ManagementCommands::cmdReboot_Click);
    connect(c_.cmdDefault, &QPushButton::clicked, this, &ManagementCommands::cmdDefault_Click);
    // The run serves the IP setup panel too: only a run started here is shown here.
    connect(&run_, &DeviceCommandRun::sendRefused, this, [this] {
        if (!running_)
            return;
        // The command goes on once the user has closed the report.
        services_.messages.show("Network error!", [self = QPointer(this)] {
            if (self && self->running_)
                self->run_.resume();
        });
    });
    connect(&run_, &DeviceCommandRun::waitStarted, this, [this] {
        if (running_ && run_.request().kind == CommandKind::Reboot)
            servers_.setText("Rebooting");
    });
    connect(&run_, &DeviceCommandRun::waitTicked, this, [this] {
        if (running_)
            servers_.append("...");
    });
    connect(&run_, &DeviceCommandRun::readyToCheck, this, [this] {
        if (running_)
            end();
    });
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
    const CommandRequest request = requestFor(CommandKind::Reboot);
    servers_.setText("");
    run_.start(request, true);
}

void ManagementCommands::cmdDefault_Click()
{
    start(DeviceCommand::LoadDefaults);
    const CommandRequest request = requestFor(CommandKind::LoadDefaults);
    servers_.setText("Restoring defaults..");
    run_.start(request, true);
}

CommandRequest ManagementCommands::requestFor(CommandKind kind) const
{
    // Read before the list gives way to the command's progress.
    return UnicastCommandFor(kind, selection_.mac, selection_.ip, selection_.interfaceIndex,
                             ListedReplyOf(search_.listing(), selection_.mac));
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
    run_.cancel();
    running_ = false;
    Q_EMIT commandEnded();
}
