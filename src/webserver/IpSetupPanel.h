#pragma once

#include "DeviceSelection.h"
#include "devices/ExpectedSettings.h"

#include "platform/StepWait.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class AdapterTable;
class ServerList;
struct Controls;
struct Datagram;
struct Services;

// The IP setup panel: gives the selected webserver a fixed configuration or DHCP by
// broadcasting SetIP or SetDHCP up to three times, then starts a new search.
class IpSetupPanel final : public QObject {
    Q_OBJECT
public:
    IpSetupPanel(const Controls& c, const AdapterTable& nics, Services& services, ServerList& servers,
                 QObject* parent = nullptr);

    // The webserver the panel sets up next.
    void setSelection(const DeviceSelection& selection) { selection_ = selection; }
    void cmdSetIP_Click();
    void optAutoIP_Click();
    void cmdIPCancel_Click();
    void cmdIPOK_Click();
    // Every webserver reply read, listed or not: while sending, the selected device's own
    // showing the settings sent is its answer.
    void replyRead(const Datagram& reply);
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
    // Broadcasts one copy out of every adapter; false when every adapter refused it.
    bool sendCopy(const std::string& datagram);
    // One copy a second until the device answers or the sending time is up.
    void sendNextCopy();
    void sendingEnded();
    void rebootWait();
    void end();

    const Controls& c_;
    DeviceSelection selection_;
    const AdapterTable& nics_;
    Services& services_;
    ServerList& servers_;
    bool replyArrived_ = false; // the selected device showed the settings sent while sending
    bool running_ = false;
    std::string datagram_;                    // what OK sends
    std::optional<ExpectedSettings> awaited_; // what it asks for, while the copies go out
    double sendDeadline_ = 0.0;
    StepWait wait_;
};
