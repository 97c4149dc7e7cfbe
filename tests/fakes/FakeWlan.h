#pragma once

#include "platform/Wlan.h"

#include <set>

// A WLAN service whose answers the test sets; it knows which clients still take notifications.
class FakeWlan final : public Wlan {
public:
    std::optional<Handle> openClient() override { return opens ? std::optional(++lastHandle_) : std::nullopt; }
    void registerNotifications(Handle client, std::function<void()>) override { registered.insert(client); }
    void unregisterNotifications(Handle client) override { registered.erase(client); }
    int interfaceCount(Handle) override { return interfaces; }
    std::vector<WlanNetwork> availableNetworks(Handle) override { return networks; }

    bool opens = true;
    int interfaces = 1;
    std::vector<WlanNetwork> networks;
    std::set<Handle> registered;

private:
    Handle lastHandle_ = 0x5100;
};
