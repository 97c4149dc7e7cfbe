#pragma once

#include <functional>
#include <memory>
#include <string>

class AdapterTable;
class BusyState;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabBar;
class QTimer;
class QWidget;
class Search;
class ServerList;
struct Datagram;
struct FormState;
struct Services;

// The widgets the discovery cycle touches.
struct DiscoveryWidgets {
    QWidget* window;
    QLabel* labStatus;
    QTabBar* TabNIC;
    QPushButton* cmdReboot;
    QPushButton* cmdDefault;
    QPushButton* cmdSetIP;
    QGroupBox* fraMurel;
    QPushButton* cmdWiFiConnect;
    QWidget* picRefresh;
};

// The search for webservers: Timer1's tick broadcasts the list request out of every
// adapter while the search runs and closes the search when its time is up; the
// socket's arrival handler lists every reply with an unseen MAC address.
class Discovery final {
public:
    // parseServerBlock selects the server whose block starts at or after the position.
    Discovery(const DiscoveryWidgets& widgets, FormState& state, const AdapterTable& nics, Services& services,
              Search& search, ServerList& servers, BusyState& busy, std::function<void(std::size_t&)> parseServerBlock);

    // A refresh begins: the window is busy, the list and the buttons that act on it are
    // cleared, and the port is bound again if it was lost.
    void beginRefresh();
    // The refresh has read the adapters (-1: they could not be listed): the search runs on
    // them, or without an adapter or port the window is usable at once.
    void searchAdapters(int adapterCount);

    ~Discovery();

    void DiscoveryTick();
    void ReplyIntake();
    // Told of every reply as it is listed, with the adapter it arrived on.
    void setListedHandler(std::function<void(const Datagram&)> onListed) { onListed_ = std::move(onListed); }

private:
    void sendStep();
    void finishStep();
    void showNetworkError();
    // Lists the reply when its MAC is new; the number of bytes it added to the list.
    std::size_t listIfNew(const Datagram& datagram);

    DiscoveryWidgets w_;
    FormState& state_;
    const AdapterTable& nics_;
    Services& services_;
    Search& search_;
    ServerList& servers_;
    BusyState& busy_;
    std::function<void(std::size_t&)> parseServerBlock_;
    std::function<void(const Datagram&)> onListed_;
    bool inTick_ = false;
    bool errorBoxOpen_ = false;
    std::unique_ptr<QTimer> nextTurn_; // the rest of a backlog, after the other timers
};
