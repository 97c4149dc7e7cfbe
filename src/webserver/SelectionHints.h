#pragma once

#include "DeviceFacts.h"

#include <array>
#include <map>
#include <string>

class QPushButton;
class QTabBar;
class ServerList;
struct Datagram;
class AdapterTable;
struct FormState;

// Tells, on the buttons that act on the selected webserver, which adapter it answered
// on, whether its address is off that adapter's network, and whether another device
// answered with the same address: in tooltips and accessible descriptions only, so no
// text the window shows changes.
class SelectionHints final {
public:
    // buttons: Reboot, Load defaults, Set IP.
    SelectionHints(const std::array<QPushButton*, 3>& buttons, const FormState& state, const AdapterTable& nics,
                   const ServerList& servers, const QTabBar& tabs);

    // A reply the search has just listed.
    void listed(const Datagram& reply);
    // Describes the selected webserver while Reboot is offered for it, and nothing otherwise.
    void update();

private:
    void show(const std::string& text);

    std::array<QPushButton*, 3> buttons_;
    const FormState& state_;
    const AdapterTable& nics_;
    const ServerList& servers_;
    const QTabBar& tabs_;
    std::map<std::string, HeardDevice> heard_; // by MAC
};
