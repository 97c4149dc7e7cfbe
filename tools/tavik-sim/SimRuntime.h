#pragma once

#include "AddressManager.h"
#include "SimFleet.h"
#include "SimSettings.h"
#include "UdpEndpoint.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>

#include <map>
#include <memory>
#include <string>

// The simulator at work: its sockets, the devices behind them, the delayed replies and
// the addresses on the interfaces.
class SimRuntime final {
public:
    explicit SimRuntime(SimSettings settings);
    // Resolves interfaces, puts addresses in place and opens the sockets. False, with
    // the reason logged, when the simulator cannot run.
    bool start();

private:
    bool listensBeyondTheWildcard() const { return settings_.bindAddress != "0.0.0.0"; }
    bool openDeviceSockets();
    void onArrival(const Arrival& arrival);
    void sendLater(const OutgoingReply& reply);
    void moveAddress(const AddressMove& move);
    void record(const Arrival& arrival, double now);
    void log(const std::string& text) const;
    void error(const std::string& text) const;

    SimSettings settings_;
    QElapsedTimer clock_;
    QObject context_; // owns the pending reply and back-again timers
    std::unique_ptr<SimFleet> fleet_;
    std::unique_ptr<UdpEndpoint> listener_;
    // With a broadcast bind, unicast requests reach only sockets bound to the device
    // addresses: one per address.
    std::map<std::string, std::unique_ptr<UdpEndpoint>> deviceSockets_;
    AddressManager addresses_;
    QFile recordFile_;
};
