#pragma once

#include "devices/DeviceFacts.h"
#include "DeviceSelection.h"

#include <QObject>

#include <optional>
#include <string>

class AdapterTable;
class ServerList;
struct Controls;

// Tells, on the buttons that act on the selected webserver, which adapter it answered
// on, whether its address is off that adapter's network, and whether another device
// answered with the same address: in tooltips and accessible descriptions only, so no
// text the window shows changes. What is listed is read from the list itself, each reply
// with the adapter it arrived on.
class SelectionHints final : public QObject {
    Q_OBJECT
public:
    SelectionHints(const Controls& c, const AdapterTable& nics, const ServerList& servers, QObject* parent = nullptr);

    // Describes the webserver Reboot is offered for; none: Reboot is not offered, no hint.
    void update(const std::optional<DeviceSelection>& offered);

private:
    void show(const std::string& text);

    const Controls& c_;
    const AdapterTable& nics_;
    const ServerList& servers_;
};
