#pragma once

#include "controls/ControlTable.h"
#include "controls/Controls.h"

#include "common/AdapterTable.h"

#include "webserver/DeviceSelection.h"

#include <QWidget>

#include <memory>
#include <optional>

class AdapterRefresh;
class AdapterView;
class ConnectionSequence;
class SetupApChoice;
class WifiScan;
class IpSetupPanel;
class KeyboardFlow;
class OctetBoxRules;
class PortBoxRules;
class PingTest;
class ProgressLine;
class Discovery;
class ManagementCommands;
class ServerList;
class ServerSelection;
class SelectionHints;
class CommandChannel;
class CommandListing;
class CommissioningRecorder;
class DeviceCommandRun;
class DeviceSearch;
class QSettings;
class SearchAddresses;
class ServerListMenu;
class WebserverSession;
struct Services;
struct WindowFacts;

// The program's one window: builds its controls from the control table, creates the
// subsystems over them, joins the subsystems in one list of connections, sets the shared
// controls from the facts' owners when one of them changed, and runs start-up and shutdown.
class frmHoptrace final : public QWidget {
    Q_OBJECT
public:
    explicit frmHoptrace(Services& services, QWidget* parent = nullptr);
    ~frmHoptrace() override;

    // The start-up sequence: title, UDP port, first refresh and search.
    void load();

    const Controls& controls() const { return c_; }
    const WebserverSession& session() const { return *session_; }
    ServerList& serverList() { return *servers_; }
    const AdapterTable& adapterTable() const { return nics_; }
    const DeviceSearch& search() const { return *search_; }

    // The refresh symbol's action; also run after every management command.
    void picRefresh_Click();
    // Whether a command, ping, scan or gateway sequence is still under way (the search aside).
    bool operationRunning() const;

Q_SIGNALS:
    // The window has closed and every operation has ended, the clean-up of the gateway
    // sequence included: the program may end now.
    void closingDone();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void createSubsystems();
    void connectSubsystems();
    // The list's menu and what it opens.
    void connectListMenu();
    // An owner reported a change: the shared controls follow once the event that changed it
    // has been handled, however many changes it made.
    void scheduleApply();
    // The shared controls follow the owners' facts; so do the hints, when the webserver
    // Reboot is offered for has changed, and the busy state.
    void applyState();
    WindowFacts facts() const;
    // The window takes no input and the busy animation plays while the search or the gateway
    // sequence runs.
    void showBusy(bool busy);
    void queryUnload();
    // The client area as designed for the given width, but never taller than the
    // screen has room for: the server list, which scrolls, gives up the difference.
    void fitClientArea(int widthTwips);
    void unload();

    Services& services_;
    bool applyScheduled_ = false;
    bool shownBusy_ = false;
    std::optional<DeviceSelection> hinted_; // what the hints describe
    QString hint_;
    AdapterTable nics_;
    Controls c_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<SearchAddresses> searchAddresses_;
    std::unique_ptr<DeviceSearch> search_;
    // Every command of the window passes the channel; one run at a time serves the buttons.
    std::unique_ptr<CommandChannel> commandChannel_;
    std::unique_ptr<DeviceCommandRun> commandRun_;
    std::unique_ptr<CommissioningRecorder> recorder_;
    std::unique_ptr<ServerList> servers_;
    std::unique_ptr<CommandListing> commandListing_;
    std::unique_ptr<ServerListMenu> listMenu_;
    std::unique_ptr<WebserverSession> session_;
    std::unique_ptr<ServerSelection> selection_;
    std::unique_ptr<SelectionHints> hints_;
    std::unique_ptr<Discovery> discovery_;
    std::unique_ptr<AdapterRefresh> refresh_;
    std::unique_ptr<ManagementCommands> commands_;
    std::unique_ptr<IpSetupPanel> ipSetup_;
    std::unique_ptr<ProgressLine>
        progress_; // labProgress, written by the Wi-Fi panel, its sequence and the adapter tabs
    std::unique_ptr<AdapterView> adapterView_;
    std::unique_ptr<PingTest> pingTest_;
    std::unique_ptr<OctetBoxRules> octetRules_;
    std::unique_ptr<PortBoxRules> portRules_;
    std::unique_ptr<SetupApChoice> setupAp_;
    std::unique_ptr<WifiScan> wifiScan_;
    std::unique_ptr<ConnectionSequence> connection_;
    KeyboardFlow* keyboard_ = nullptr;
    int clientWidthTwips_ = DesignedClientWidthTwips;
    int designedListHeight_ = 0;
    bool unloaded_ = false;
};
