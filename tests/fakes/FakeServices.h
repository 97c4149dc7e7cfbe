#pragma once

#include "FakeUdpSocket.h"
#include "VirtualTime.h"

#include "platform/AdapterList.h"
#include "platform/CommandRunner.h"
#include "platform/EchoTest.h"
#include "platform/MessageBox.h"
#include "platform/NeighbourTable.h"
#include "platform/NmcliProvisioningCommands.h"
#include "platform/NullServices.h"
#include "platform/Services.h"
#include "platform/UrlOpener.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class FakeAdapterList final : public AdapterList {
public:
    std::optional<std::vector<AdapterInfo>> adapters() override
    {
        ++calls;
        if (fails)
            return std::nullopt;
        return list;
    }
    std::vector<AdapterInfo> list{{"Ethernet adapter", "192.168.1.2", "255.255.255.0", "192.168.1.1", 2}};
    bool fails = false;
    int calls = 0;
};

class RecordingMessageBox final : public MessageBox {
public:
    void show(const std::string& text) override
    {
        shown.push_back(text);
        if (whileOpen)
            whileOpen(text);
    }
    std::vector<std::string> shown;
    // Runs while the box is "open", e.g. to let virtual time pass before the user closes it.
    std::function<void(const std::string&)> whileOpen;
};

class FakeEchoTest final : public EchoTest {
public:
    bool echo(const std::string& address, int maxHops, double) override
    {
        asked.push_back(address);
        lastHops = maxHops;
        if (costSeconds > 0 && time)
            time->advance(costSeconds);
        return answers(address);
    }
    std::function<bool(const std::string&)> answers = [](const std::string&) { return false; };
    std::vector<std::string> asked;
    int lastHops = 0;
    double costSeconds = 0.0; // virtual time one echo takes
    VirtualTime* time = nullptr;
};

class FakeNeighbourTable final : public NeighbourTable {
public:
    bool hasLinkLayerAddress(const std::string& address) override { return resolved.count(address) > 0; }
    std::set<std::string> resolved; // addresses someone answered address resolution for
};

class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// Every service faked, in virtual time. Tests change the members before building the window.
class FakeServices {
public:
    explicit FakeServices(double startSecondsSinceMidnight = 36000.0);

    VirtualTime time;
    std::unique_ptr<Timer> timer1;
    FakeUdpSocket socket{time};
    FakeAdapterList adapters;
    FakeEchoTest echo;
    FakeNeighbourTable neighbours;
    NullWlan wlan;
    NullCommandRunner commands;
    NullTempDir tempDir;
    RecordingUrlOpener urls;
    RecordingMessageBox messages;
    NmcliProvisioningCommands provisioning;

    // Replaceable before services() is first used.
    Wlan* wlanOverride = nullptr;
    CommandRunner* commandsOverride = nullptr;
    TempDir* tempDirOverride = nullptr;

    Services& services();

private:
    std::unique_ptr<Services> services_;
};
