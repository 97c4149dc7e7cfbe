#pragma once

#include "platform/Wlan.h"

#include <memory>
#include <mutex>
#include <set>

// The Native Wi-Fi client API (wlanapi).
class WindowsWlan final : public Wlan {
public:
    WindowsWlan();
    ~WindowsWlan() override;
    WindowsWlan(const WindowsWlan&) = delete;
    WindowsWlan& operator=(const WindowsWlan&) = delete;

    std::optional<Handle> openClient() override;
    void registerNotifications(Handle client, std::function<void()> onNotification) override;
    void unregisterNotifications(Handle client) override;
    int interfaceCount(Handle client) override;
    std::vector<WlanNetwork> availableNetworks(Handle client) override;

    // What the platform's notification thread reaches through the context pointer.
    struct Sink {
        std::mutex mutex;
        std::function<void()> onNotification;
    };

private:
    std::unique_ptr<Sink> sink_;
    std::set<Handle> registered_;
};
