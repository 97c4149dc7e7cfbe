#pragma once

#include "controls/ControlView.h"

#include "devices/CommandRequest.h"

#include <QObject>

class DeviceSearch;
class WebserverSession;

// Reboot and Load defaults as the window shows them: the session's run sends the datagram to
// the selected webserver (Reboot's two copies, Load defaults' one) and waits twelve seconds
// while the list shows the progress (CommandListing), then a new search follows.
class ManagementCommands final : public QObject {
    Q_OBJECT
public:
    ManagementCommands(const WebserverControls& c, WebserverSession& session, const DeviceSearch& search,
                       QObject* parent = nullptr);

    void cmdReboot_Click();
    void cmdDefault_Click();

private:
    CommandRequest requestFor(CommandKind kind) const;

    WebserverSession& session_;
    const DeviceSearch& search_;
};
