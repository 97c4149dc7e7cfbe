#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct WlanNetwork {
    std::string ssid;           // 0 to 32 raw bytes
    unsigned signalQuality = 0; // 0 to 100
};

// The platform's WLAN service. A client handle is never closed while the program runs.
class Wlan {
public:
    using Handle = std::uintptr_t; // 0 = no client
    virtual ~Wlan() = default;
    // Opens a client; nothing when the WLAN service cannot be reached.
    virtual std::optional<Handle> openClient() = 0;
    // Starts notifications of every source to onNotification (called on a thread of
    // the platform's; it must touch nothing). Failures are ignored.
    virtual void registerNotifications(Handle client, std::function<void()> onNotification) = 0;
    // Ends notifications; harmless for handle 0 or when none are registered.
    virtual void unregisterNotifications(Handle client) = 0;
    // Number of WLAN interfaces.
    virtual int interfaceCount(Handle client) = 0;
    // The networks the platform already knows for the first interface, in its order.
    virtual std::vector<WlanNetwork> availableNetworks(Handle client) = 0;
};
