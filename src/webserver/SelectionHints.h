#pragma once

#include "controls/ControlView.h"

#include "devices/DeviceFacts.h"
#include "DeviceSelection.h"

#include <QString>

#include <optional>
#include <string>

class AdapterTable;
class ServerList;

// Tells which adapter the selected webserver answered on, whether its address is off that
// adapter's network, and whether another device answered with the same address; the window
// shows it on the buttons that act on the selection, in tooltips and accessible descriptions
// only, so no text the window shows changes. What is listed is read from the list itself,
// each reply with the adapter it arrived on.
class SelectionHints final {
public:
    SelectionHints(const WebserverControls& c, const AdapterTable& nics, const ServerList& servers);

    // Describes the webserver Reboot is offered for; none: Reboot is not offered, no hint.
    QString describe(const std::optional<DeviceSelection>& offered) const;

private:
    const WebserverControls c_;
    const AdapterTable& nics_;
    const ServerList& servers_;
};
