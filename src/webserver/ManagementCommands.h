#pragma once

#include "DeviceSelection.h"

#include "devices/CommandRequest.h"

#include <QObject>

class DeviceCommandRun;
class DeviceSearch;
class ServerList;
struct Controls;
struct Services;

// Reboot and Load defaults as the window shows them: the engine's run sends the datagram to
// the selected webserver (Reboot's two copies, Load defaults' one) and waits twelve seconds,
// the list shows the progress with a growing row of dots, then a new search follows.
class ManagementCommands final : public QObject {
    Q_OBJECT
public:
    ManagementCommands(const Controls& c, Services& services, DeviceSearch& search, ServerList& servers,
                       DeviceCommandRun& run, QObject* parent = nullptr);

    // The webserver the next command goes to.
    void setSelection(const DeviceSelection& selection) { selection_ = selection; }
    void cmdReboot_Click();
    void cmdDefault_Click();
    // From the click to the end of the wait.
    bool running() const { return running_; }
    // The window closes: the wait ends without its refresh.
    void cancel();

Q_SIGNALS:
    // From the click to the end of the wait; no second command may start meanwhile.
    void commandStarted(DeviceCommand command);
    void commandEnded();
    // The wait is over and the window is not closing: a new search follows.
    void refreshRequested();
    void statusShown(const QString& text);

private:
    void start(DeviceCommand command);
    CommandRequest requestFor(CommandKind kind) const;
    void end();

    const Controls& c_;
    DeviceSelection selection_;
    Services& services_;
    DeviceSearch& search_;
    ServerList& servers_;
    DeviceCommandRun& run_;
    bool running_ = false;
};
