#include "CommandListing.h"

#include "DeviceCommandRun.h"
#include "DeviceSearch.h"

CommandListing::CommandListing(DeviceCommandRun& run, DeviceSearch& search, QObject* parent)
    : QObject(parent), run_(run), search_(search)
{
    connect(&run_, &DeviceCommandRun::started, this, &CommandListing::started);
    connect(&run_, &DeviceCommandRun::waitStarted, this, &CommandListing::waitStarted);
    connect(&run_, &DeviceCommandRun::waitTicked, this, &CommandListing::waitTicked);
}

void CommandListing::started()
{
    switch (run_.request().kind) {
    case CommandKind::Reboot:
        search_.listWithoutHeadings();
        search_.listing().setText("");
        break;
    case CommandKind::LoadDefaults:
        search_.listing().setText("Restoring defaults..");
        break;
    case CommandKind::SetIP:
    case CommandKind::SetDHCP:
        return;
    }
    Q_EMIT changed();
}

void CommandListing::waitStarted()
{
    switch (run_.request().kind) {
    case CommandKind::Reboot:
        search_.listing().setText("Rebooting");
        break;
    case CommandKind::LoadDefaults:
        return;
    case CommandKind::SetIP:
    case CommandKind::SetDHCP:
        search_.listing().setText("");
        break;
    }
    Q_EMIT changed();
}

void CommandListing::waitTicked()
{
    const CommandKind kind = run_.request().kind;
    if (kind != CommandKind::Reboot && kind != CommandKind::LoadDefaults)
        return;
    search_.listing().append("...");
    Q_EMIT changed();
}
