#pragma once

#include "ProvisioningCommands.h"

// Shell lines for NetworkManager's command-line client. Each line ends with exit
// code 5 when NetworkManager refuses it for lack of authorization, so that callers
// can tell a rights problem from other failures as they do with the service tool.
class NmcliProvisioningCommands final : public ProvisioningCommands {
public:
    std::string stopWlan() const override;
    std::string startWlan() const override;
    std::optional<std::string> addProfile(const std::string& profilePath, const std::string& ssid,
                                          const std::string& passphrase) const override;
    std::optional<std::string> connect(const std::string& ssid) const override;
    std::string lineEnd() const override { return "\n"; }
};
