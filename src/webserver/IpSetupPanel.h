#pragma once

#include <QObject>

#include <string>

class DeviceCommandRun;
class ServerList;
class WebserverSession;
struct Controls;
struct Services;

// The IP setup panel: gives the selected webserver a fixed configuration or DHCP through the
// session's run (SetIP or SetDHCP, broadcast up to three times, until the device shows them);
// a new search follows the reboot wait.
class IpSetupPanel final : public QObject {
    Q_OBJECT
public:
    IpSetupPanel(const Controls& c, Services& services, WebserverSession& session, ServerList& servers,
                 DeviceCommandRun& run, QObject* parent = nullptr);

    // Opens the panel on the selected webserver.
    void cmdSetIP_Click();
    void optAutoIP_Click();
    void cmdIPCancel_Click();
    void cmdIPOK_Click();

private:
    // False, after telling the user and putting the caret there, when the address or port
    // boxes are empty or hold a value that would leave the device unreachable.
    bool settingsKeepDeviceReachable();
    std::string buildDatagram() const;
    // Whether the session's command is the panel's.
    bool showsRun() const;

    const Controls& c_;
    Services& services_;
    WebserverSession& session_;
    ServerList& servers_;
};
