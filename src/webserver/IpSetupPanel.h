#pragma once

#include <QObject>

#include <array>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QWidget;
class AdapterTable;
class Search;
class ServerList;
struct FormState;
struct Services;

struct IpSetupWidgets {
    QPushButton* cmdSetIP;
    QPushButton* cmdReboot;
    QWidget* picRefresh;
    QPlainTextEdit* txtServers;
    QGroupBox* fraSetIP;
    QPushButton* cmdIPOK;
    QPushButton* cmdIPCancel;
    std::array<QRadioButton*, 2> optAutoIP;
    QGroupBox* fraIP;
    QLineEdit* txtPort;
    std::array<QLineEdit*, 16> txtIPadres;
    QLabel* labStatus;
    QTabBar* TabNIC;
};

// The IP setup panel: gives the selected webserver a fixed configuration or DHCP by
// broadcasting SetIP or SetDHCP up to three times, then starts a new search.
class IpSetupPanel final : public QObject {
    Q_OBJECT
public:
    IpSetupPanel(const IpSetupWidgets& widgets, FormState& state, const AdapterTable& nics, Services& services,
                 Search& search, ServerList& servers);

    void cmdSetIP_Click();
    void optAutoIP_Click();
    void cmdIPCancel_Click();
    void cmdIPOK_Click();

Q_SIGNALS:
    // The settings are sent and the window is not closing: a new search follows.
    void refreshRequested();

private:
    // False, after telling the user and putting the caret there, when an address or port
    // box that the device needs to stay reachable is empty.
    bool settingsKeepDeviceReachable();
    std::string buildDatagram() const;
    // Broadcasts one copy out of every adapter; false when every adapter refused it.
    bool sendCopy(const std::string& datagram);
    void sendPhase(const std::string& datagram);
    void rebootWait();

    IpSetupWidgets w_;
    FormState& state_;
    const AdapterTable& nics_;
    Services& services_;
    ServerList& servers_;
    bool replyArrived_ = false; // a webserver not listed before was listed while sending
};
