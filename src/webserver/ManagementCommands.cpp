#include "ManagementCommands.h"

#include "WebserverSession.h"

#include "devices/DeviceSearch.h"
#include "devices/ListingText.h"

#include <QPushButton>

ManagementCommands::ManagementCommands(const WebserverControls& c, WebserverSession& session,
                                       const DeviceSearch& search, QObject* parent)
    : QObject(parent), session_(session), search_(search)
{
    connect(c.cmdReboot, &QPushButton::clicked, this, &ManagementCommands::cmdReboot_Click);
    connect(c.cmdDefault, &QPushButton::clicked, this, &ManagementCommands::cmdDefault_Click);
}

void ManagementCommands::cmdReboot_Click()
{
    session_.begin(DeviceCommand::Reboot);
    session_.showCommandStatus(QStringLiteral("Sending Reboot.."));
    session_.run(requestFor(CommandKind::Reboot));
}

void ManagementCommands::cmdDefault_Click()
{
    session_.begin(DeviceCommand::LoadDefaults);
    session_.run(requestFor(CommandKind::LoadDefaults));
}

CommandRequest ManagementCommands::requestFor(CommandKind kind) const
{
    // Read before the list gives way to the command's progress (CommandListing).
    const DeviceSelection& selected = session_.selection();
    return UnicastCommandFor(kind, selected.mac, selected.ip, selected.interfaceIndex,
                             ListedReplyOf(search_.listing(), selected.mac));
}
