#pragma once

#include "DeviceSelection.h"

#include "devices/Datagrams.h"

#include "platform/StepWait.h"

#include <QObject>

#include <functional>
#include <string>

class DeviceSearch;
class ServerList;
struct Controls;
struct Services;

// Reboot and Load defaults: a short datagram straight to the selected webserver (Reboot's
// twice, Load defaults' once),
// twelve seconds of waiting with a growing row of dots, then a new search.
class ManagementCommands final : public QObject {
    Q_OBJECT
public:
    ManagementCommands(const Controls& c, Services& services, DeviceSearch& search, ServerList& servers,
                       QObject* parent = nullptr);

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
    // Sends the datagram; a refused send is reported once, and the command goes on once the
    // user has closed that report.
    void sendToSelected(const TavikDatagram::RequestDatagram& request, std::function<void()> then);
    void waitThenRefresh();
    void end();

    const Controls& c_;
    DeviceSelection selection_;
    Services& services_;
    DeviceSearch& search_;
    ServerList& servers_;
    StepWait wait_;
    bool running_ = false;
};
