#pragma once

#include "devices/CommandRequest.h"

#include <QObject>

class DeviceCommandRun;
class DeviceSearch;
class ServerList;
class WebserverSession;
struct Controls;

// Reboot and Load defaults as the window shows them: the session's run sends the datagram to
// the selected webserver (Reboot's two copies, Load defaults' one) and waits twelve seconds,
// the list shows the progress with a growing row of dots, then a new search follows.
class ManagementCommands final : public QObject {
    Q_OBJECT
public:
    ManagementCommands(const Controls& c, WebserverSession& session, DeviceSearch& search, ServerList& servers,
                       DeviceCommandRun& run, QObject* parent = nullptr);

    void cmdReboot_Click();
    void cmdDefault_Click();

private:
    // Whether the session's command is one of these buttons'.
    bool showsRun() const;
    CommandRequest requestFor(CommandKind kind) const;

    WebserverSession& session_;
    DeviceSearch& search_;
    ServerList& servers_;
    DeviceCommandRun& run_;
};
