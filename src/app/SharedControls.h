#pragma once

#include "StatusLine.h"

#include "controls/ControlView.h"

#include "wifi/GatewayCaption.h"

#include <optional>

#include <QString>

class WebserverSession;

// What the shared controls follow, read off the facts' owners for each apply: the search,
// the webserver session, the Wi-Fi panel and the gateway sequence.
struct WindowFacts {
    bool searching = false;
    bool searchedOnce = false;
    const WebserverSession& session;
    std::optional<bool> connectReady;
    GatewayCaption gatewayCaption = GatewayCaption::Designed;
    bool gatewayRunning = false;
    std::optional<int> suggestionFor; // the adapter the Wi-Fi suggestion is for
    bool suggestionsOffered = false;
    StatusLine::Shown status;
};

// The one writer of the shared controls' state: the enabled states, captions and hints of
// the buttons that act on the selected webserver, the refresh symbol, the gateway's frame and
// button, the suggestion frame and the status line. It holds nothing of its own.
namespace SharedControls {
void apply(const WindowFacts& facts, const WindowControls& c);
// Reboot may be clicked: the selection's hints are shown exactly then.
bool rebootUsable(const WindowFacts& facts);
// What the buttons acting on the selection say of the device, as their tool tip and spoken
// description.
void showHint(const QString& hint, const WindowControls& c);
} // namespace SharedControls
