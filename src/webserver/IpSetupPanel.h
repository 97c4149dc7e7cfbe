#pragma once

#include "controls/ControlView.h"

#include <QObject>

#include <string>
#include <string_view>

class DeviceCommandRun;
class ServerList;
class WebserverSession;
struct DeviceSelection;
struct Services;

// The IP setup panel: gives the selected webserver a fixed configuration or DHCP through the
// session's run (SetIP or SetDHCP, broadcast up to three times, until the device shows them);
// a new search follows the reboot wait. The panel shows the selected block's values, and takes
// Enter as OK and Escape as Cancel.
class IpSetupPanel final : public QObject {
    Q_OBJECT
public:
    IpSetupPanel(const WebserverControls& c, Services& services, WebserverSession& session, ServerList& servers,
                 DeviceCommandRun& run, QObject* parent = nullptr);

    // Opens the panel on the selected webserver.
    void cmdSetIP_Click();
    void optAutoIP_Click();
    void cmdIPCancel_Click();
    void cmdIPOK_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The selected block's values and nothing else: what the reply does not hold shows empty,
    // as a value left from the device selected before would be sent to this one.
    void showValues(const DeviceSelection& selected);
    // Writes a dotted address into the four boxes from firstBox on.
    void fillAddressRow(std::string_view address, int firstBox);
    void setTabOrder();
    bool panelKey(int key);
    // False, after telling the user and putting the caret there, when the address or port
    // boxes are empty or hold a value that would leave the device unreachable.
    bool settingsKeepDeviceReachable();
    std::string buildDatagram() const;
    // Whether the session's command is the panel's.
    bool showsRun() const;

    const WebserverControls c_;
    Services& services_;
    WebserverSession& session_;
    ServerList& servers_;
};
