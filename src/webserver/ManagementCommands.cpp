#include "ManagementCommands.h"

#include "ServerList.h"
#include "WebserverSession.h"

#include "controls/Controls.h"
#include "devices/DeviceCommandRun.h"
#include "devices/DeviceSearch.h"
#include "devices/ListingText.h"

#include <QPushButton>

ManagementCommands::ManagementCommands(const Controls& c, WebserverSession& session, DeviceSearch& search,
                                       ServerList& servers, DeviceCommandRun& run, QObject* parent)
    : QObject(parent), session_(session), search_(search), servers_(servers), run_(run)
{
    connect(c.cmdReboot, &QPushButton::clicked, this, &ManagementCommands::cmdReboot_Click);
    connect(c.cmdDefault, &QPushButton::clicked, this, &ManagementCommands::cmdDefault_Click);
    connect(&run_, &DeviceCommandRun::waitStarted, this, [this] {
        if (showsRun() && run_.request().kind == CommandKind::Reboot)
            servers_.setText("Rebooting");
    });
    connect(&run_, &DeviceCommandRun::waitTicked, this, [this] {
        if (showsRun())
            servers_.append("...");
    });
}

bool ManagementCommands::showsRun() const
{
    const auto command = session_.command();
    return command == DeviceCommand::Reboot || command == DeviceCommand::LoadDefaults;
}

void ManagementCommands::cmdReboot_Click()
{
    session_.begin(DeviceCommand::Reboot);
    // A device that answers during the wait is listed, but not under a numbered heading.
    search_.listWithoutHeadings();
    session_.showCommandStatus(QStringLiteral("Sending Reboot.."));
    const CommandRequest request = requestFor(CommandKind::Reboot);
    servers_.setText("");
    session_.run(request);
}

void ManagementCommands::cmdDefault_Click()
{
    session_.begin(DeviceCommand::LoadDefaults);
    const CommandRequest request = requestFor(CommandKind::LoadDefaults);
    servers_.setText("Restoring defaults..");
    session_.run(request);
}

CommandRequest ManagementCommands::requestFor(CommandKind kind) const
{
    // Read before the list gives way to the command's progress.
    const DeviceSelection& selected = session_.selection();
    return UnicastCommandFor(kind, selected.mac, selected.ip, selected.interfaceIndex,
                             ListedReplyOf(search_.listing(), selected.mac));
}
