#pragma once

#include <optional>
#include <string>
#include <vector>

// One network adapter as the platform lists it.
struct AdapterInfo {
    std::string description; // raw bytes as the platform gives them
    std::string ipAddress;   // first IPv4 address, dotted; "0.0.0.0" when it has none
    std::string ipMask;      // that address's mask, dotted
    std::string gateway;     // first default gateway, dotted; when none, what the platform
                             // says (Windows "0.0.0.0", elsewhere empty)
    int interfaceIndex = -1; // the system's index, for choosing the outgoing interface
};

class AdapterList {
public:
    virtual ~AdapterList() = default;
    // The adapters in the platform's order, loopback left out; nothing when the
    // platform call fails.
    virtual std::optional<std::vector<AdapterInfo>> adapters() = 0;
};
