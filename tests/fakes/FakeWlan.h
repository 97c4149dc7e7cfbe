#pragma once

#include "platform/Wlan.h"

// A WLAN service whose answers the test sets.
class FakeWlan final : public Wlan {
public:
    std::optional<Handle> openClient() override { return opens ? std::optional<Handle>(0x5100) : std::nullopt; }
    void registerNotifications(Handle, std::function<void()>) override { }
    void unregisterNotifications(Handle) override { }
    int interfaceCount(Handle) override { return interfaces; }
    std::vector<WlanNetwork> availableNetworks(Handle) override { return networks; }

    bool opens = true;
    int interfaces = 1;
    std::vector<WlanNetwork> networks;
};
