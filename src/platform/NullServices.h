#pragma once

#include "CommandRunner.h"
#include "TempDir.h"
#include "Wlan.h"

// Fallbacks for a platform that lacks a service: each says "cannot".

class NullWlan final : public Wlan {
public:
    std::optional<Handle> openClient() override { return std::nullopt; }
    void registerNotifications(Handle, std::function<void()>) override { }
    void unregisterNotifications(Handle) override { }
    int interfaceCount(Handle) override { return 0; }
    std::vector<WlanNetwork> availableNetworks(Handle) override { return {}; }
};

class NullCommandRunner final : public CommandRunner {
public:
    int run(const std::string&, double) override { return -1; }
    void cancel() override { }
};

class NullTempDir final : public TempDir {
public:
    std::optional<std::string> systemTempDir() override { return std::nullopt; }
    std::optional<std::string> createPrivateDir() override { return std::nullopt; }
    void removePrivateDir(const std::string&) override { }
};
