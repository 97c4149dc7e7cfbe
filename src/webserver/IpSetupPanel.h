#pragma once

#include "DeviceSelection.h"

#include <QObject>
#include <QString>

#include <string>

class DeviceCommandRun;
class ServerList;
struct Controls;
struct Services;

// The IP setup panel: gives the selected webserver a fixed configuration or DHCP through the
// engine's run (SetIP or SetDHCP, broadcast up to three times, until the device shows them),
// then starts a new search.
class IpSetupPanel final : public QObject {
    Q_OBJECT
public:
    IpSetupPanel(const Controls& c, Services& services, ServerList& servers, DeviceCommandRun& run,
                 QObject* parent = nullptr);

    // The webserver the panel sets up next.
    void setSelection(const DeviceSelection& selection) { selection_ = selection; }
    void cmdSetIP_Click();
    void optAutoIP_Click();
    void cmdIPCancel_Click();
    void cmdIPOK_Click();
    // From OK to the end of the reboot wait.
    bool running() const { return running_; }
    // The window closes: sending and waiting end without a refresh.
    void cancel();

Q_SIGNALS:
    // From OK to the end of the reboot wait; no second command may start meanwhile.
    void commandStarted(DeviceCommand command);
    void commandEnded();
    // The settings are sent and the window is not closing: a new search follows.
    void refreshRequested();
    // The panel opens on Set IP and closes on Cancel, or on OK as the command starts.
    void panelOpened();
    void panelCancelled();
    // The device took the settings and reboots: Reboot no longer names it.
    void deviceRebooting();
    void statusShown(const QString& text);
    // The status line grows by a row of dots each second of the reboot wait.
    void statusExtended(const QString& more);

private:
    // False, after telling the user and putting the caret there, when the address or port
    // boxes are empty or hold a value that would leave the device unreachable.
    bool settingsKeepDeviceReachable();
    std::string buildDatagram() const;
    void end();

    const Controls& c_;
    DeviceSelection selection_;
    Services& services_;
    ServerList& servers_;
    DeviceCommandRun& run_;
    bool running_ = false;
};
