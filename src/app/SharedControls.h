#pragma once

#include "StatusLine.h"

#include "wifi/GatewayCaption.h"

#include <optional>

class WebserverSession;
struct Controls;

// What the shared controls follow, read off the facts' owners for each apply: the search,
// the webserver session, the Wi-Fi panel and the gateway sequence.
struct WindowFacts {
    bool searching = false;
    bool searchedOnce = false;
    const WebserverSession& session;
    std::optional<bool> connectReady;
    GatewayCaption gatewayCaption = GatewayCaption::Designed;
    bool gatewayRunning = false;
    StatusLine::Shown status;
};

// The one writer of the shared controls' state: the enabled states and captions of the
// buttons that act on the selected webserver, the refresh symbol, the server list, the
// gateway's frame and button, and the status line. It holds nothing of its own.
namespace SharedControls {
void apply(const WindowFacts& facts, const Controls& c);
// Reboot may be clicked: the selection's hints are shown exactly then.
bool rebootUsable(const WindowFacts& facts);
} // namespace SharedControls
