#pragma once

#include "platform/CommandRunner.h"
#include "platform/TempDir.h"
#include "platform/Wlan.h"

// Services that each say "cannot", where a test brings no fake of its own.

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
