#pragma once

#include "FakeCommandRunner.h"
#include "FakeTempDir.h"
#include "FakeWlan.h"
#include "VirtualTime.h"

#include "platform/AdapterList.h"
#include "platform/EchoTest.h"
#include "platform/MessageBox.h"
#include "platform/NeighbourTable.h"
#include "platform/NmcliProvisioningCommands.h"
#include "platform/Services.h"
#include "platform/UdpSocket.h"
#include "platform/UrlOpener.h"

#include <deque>
#include <set>
#include <string>

// Records what the program sends and delivers datagrams at virtual moments.
class FakeUdpSocket final : public UdpSocket {
public:
    struct Sent {
        std::string bytes, host;
        std::uint16_t port;
        int interfaceIndex;
        double at; // virtual seconds since the test began
    };

    explicit FakeUdpSocket(VirtualTime& time) : time_(time) { }

    bool bind(std::uint16_t) override
    {
        ++bindCalls;
        return bound_ = bindSucceeds;
    }
    bool isBound() const override { return bound_; }
    void close() override
    {
        ++closeCalls;
        bound_ = false;
        waiting_.clear();
    }
    bool send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex) override
    {
        if (!sendSucceeds || interfaceIndex == refusingInterface)
            return false;
        sent.push_back({bytes, host, port, interfaceIndex, time_.elapsed()});
        if (onSend)
            onSend(sent.back());
        return true;
    }
    std::optional<Datagram> take() override
    {
        if (waiting_.empty()) {
            std::optional<std::string> more = stream ? stream() : std::nullopt;
            return more ? std::optional(Datagram{std::move(*more), "192.168.1.20"}) : std::nullopt;
        }
        Datagram next = std::move(waiting_.front());
        waiting_.pop_front();
        return next;
    }
    void setArrivalHandler(std::function<void()> onArrival) override { onArrival_ = std::move(onArrival); }

    // Datagrams that are all waiting when one arrival event runs, after delaySeconds (0: at virtual time's next step).
    void deliverBurst(std::vector<std::string> datagrams, double delaySeconds = 0.0,
                      std::string sender = "192.168.1.20", int interfaceIndex = -1)
    {
        time_.schedule(delaySeconds, [=, this] {
            if (!bound_)
                return; // nobody listens on a closed socket
            for (const std::string& bytes : datagrams)
                waiting_.push_back({bytes, sender, interfaceIndex});
            if (onArrival_)
                onArrival_();
        });
    }
    void deliver(const std::string& bytes, double delaySeconds = 0.0, const std::string& sender = "192.168.1.20",
                 int interfaceIndex = -1)
    {
        deliverBurst({bytes}, delaySeconds, sender, interfaceIndex);
    }

    std::vector<Sent> sent;
    int bindCalls = 0, closeCalls = 0;
    bool bindSucceeds = true, sendSucceeds = true;
    int refusingInterface = -2; // sends out of this adapter fail, as out of one that is down
    // More datagrams once the delivered ones are taken: a stream that does not stop while the program reads.
    std::function<std::optional<std::string>()> stream;
    std::function<void(const Sent&)> onSend;

private:
    VirtualTime& time_;
    bool bound_ = false;
    std::deque<Datagram> waiting_;
    std::function<void()> onArrival_;
};

class FakeAdapterList final : public AdapterList {
public:
    std::optional<std::vector<AdapterInfo>> adapters() override
    {
        ++calls;
        return fails ? std::nullopt : std::optional(list);
    }
    std::vector<AdapterInfo> list{{"Ethernet adapter", "192.168.1.2", "255.255.255.0", "192.168.1.1", 2}};
    bool fails = false;
    int calls = 0;
};

// The user reads each box for `openSeconds` of virtual time, then clicks OK.
class RecordingMessageBox final : public MessageBox {
public:
    explicit RecordingMessageBox(VirtualTime& time) : time_(time) { }
    void show(const std::string& text, std::function<void()> closed) override
    {
        shown.push_back(text);
        time_.schedule(openSeconds, closed ? std::move(closed) : [] { });
    }
    std::vector<std::string> shown;
    double openSeconds = 0.0;

private:
    VirtualTime& time_;
};

class FakeEchoTest final : public EchoTest {
public:
    explicit FakeEchoTest(VirtualTime& time) : time_(time) { }
    bool echo(const std::string& address, int maxHops, double) override
    {
        asked.push_back(address);
        lastHops = maxHops;
        time_.charge(costSeconds);
        return answers(address);
    }
    std::function<bool(const std::string&)> answers = [](const std::string&) { return false; };
    std::vector<std::string> asked;
    int lastHops = 0;
    double costSeconds = 0.0; // virtual time one echo takes

private:
    VirtualTime& time_;
};

class FakeNeighbourTable final : public NeighbourTable {
public:
    explicit FakeNeighbourTable(VirtualTime& time) : time_(time) { }
    bool hasLinkLayerAddress(const std::string& address) override { return resolved.count(address) > 0; }
    Resolution resolveNow(const std::string& address, int interfaceIndex) override
    {
        asked.push_back(address + "%" + std::to_string(interfaceIndex));
        time_.charge(askSeconds);
        return answer;
    }
    std::set<std::string> resolved;          // addresses the table holds a link-layer address for
    Resolution answer = Resolution::Unknown; // what asking the link now gives
    std::vector<std::string> asked;          // "address%interface index" per question
    double askSeconds = 0.0;                 // virtual time one question takes

private:
    VirtualTime& time_;
};

class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// Every service faked, in virtual time. Tests change the members before services() is first used.
class FakeServices {
public:
    FakeServices() { wlan.opens = false; }
    Services& services()
    {
        if (!services_)
            services_ = std::make_unique<Services>(Services{time, time, *backgroundOverride, socket, adapters, echo,
                                                            neighbours, *wlanOverride, *commandsOverride, tempDir, urls,
                                                            messages, provisioning});
        return *services_;
    }

    VirtualTime time;
    FakeUdpSocket socket{time};
    FakeAdapterList adapters;
    FakeEchoTest echo{time};
    FakeNeighbourTable neighbours{time};
    RecordingUrlOpener urls;
    RecordingMessageBox messages{time};
    NmcliProvisioningCommands provisioning;
    // Without WLAN unless a test opens this one or brings its own.
    FakeWlan wlan;
    FakeCommandRunner commands;
    FakeTempDir tempDir;
    BackgroundCalls* backgroundOverride = &time; // the calls in virtual time, unless real ones are given
    Wlan* wlanOverride = &wlan;
    CommandRunner* commandsOverride = &commands;

private:
    std::unique_ptr<Services> services_;
};
