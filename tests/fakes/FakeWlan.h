#pragma once

#include "platform/Wlan.h"

#include <string>
#include <vector>

// A WLAN service whose answers the test sets; it records every call in order.
class FakeWlan final : public Wlan {
public:
    std::optional<Handle> openClient() override;
    void registerNotifications(Handle client, std::function<void()> onNotification) override;
    void unregisterNotifications(Handle client) override;
    int interfaceCount(Handle client) override;
    std::vector<WlanNetwork> availableNetworks(Handle client) override;

    bool opens = true;
    int interfaces = 1;
    std::vector<WlanNetwork> networks;
    // "open", "register <h>", "interfaces <h>", "networks <h>", "unregister <h>".
    std::vector<std::string> calls;

private:
    Handle nextHandle_ = 0x5100;
};
