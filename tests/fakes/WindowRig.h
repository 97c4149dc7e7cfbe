#pragma once

#include "ControlWidgets.h"
#include "FakeServices.h"
#include "TavikReply.h"
#include "WindowInput.h"

#include "app/frmHoptrace.h"

// The whole window on fake services in virtual time.
class WindowRig {
public:
    // Builds and shows the window and runs its start-up sequence.
    void load();
    // Lets the running search come to its end (its deadline plus the finishing tick).
    void finishSearch() { fakes.time.advance(4.5); }
    // Lets virtual time run until the running command, ping, scan or gateway sequence has
    // ended: the moment a handler that waited inside itself would have returned.
    void finishOperation();
    // Clicks into txtServers with the caret after `position` characters of the list text.
    void clickServerListAt(std::size_t position);
    // Loads the window and lets a search list `replies`, then end.
    void listReplies(const std::vector<std::string>& replies);
    // Widens the window over the Wi-Fi panel, which lies beyond its edge after start.
    void showWifiPanel();

    const Controls& c() const { return window->controls(); }
    std::string serverText() const;
    // Sends of one kind, e.g. "TAVIKwebserver|List|".
    int sentCount(const std::string& bytes) const;

    FakeServices fakes;
    std::unique_ptr<frmHoptrace> window;
};
