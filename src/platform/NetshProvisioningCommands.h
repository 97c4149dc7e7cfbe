#pragma once

#include "ProvisioningCommands.h"

// Batch lines for the Windows command interpreter: the service control tool and
// the WLAN context of the network shell, which reads the profile document.
class NetshProvisioningCommands final : public ProvisioningCommands {
public:
    std::string stopWlan() const override;
    std::string startWlan() const override;
    std::optional<std::string> addProfile(const std::string& profilePath, const std::string& ssid,
                                          const std::string& passphrase) const override;
    std::optional<std::string> connect(const std::string& ssid) const override;
    std::string lineEnd() const override { return "\r\n"; }
};
