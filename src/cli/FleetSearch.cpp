#include "FleetSearch.h"

#include "platform/Clock.h"
#include "platform/EventWaiter.h"
#include "platform/PlatformFactory.h"
#include "platform/UdpSocket.h"
#include "devices/AdapterBroadcast.h"
#include "devices/Datagrams.h"

#include <algorithm>

namespace {
constexpr double kRequestInterval = 1.0;
} // namespace

FleetSearch::FleetSearch(NetworkServices& network, std::vector<NicRecord> nics)
    : network_(network), nics_(std::move(nics))
{
    for (std::size_t i = 0; i < nics_.size(); ++i)
        table_.store(static_cast<int>(i) + 1, nics_[i]);
    table_.setCount(nics_.size());
    // Replies are taken after each wait; a handler makes the socket announce them, so
    // the wait ends as soon as one is there.
    network_.socket.setArrivalHandler([] { });
}

double FleetSearch::elapsedSince(double start) const { return network_.clock.elapsedSeconds() - start; }

bool FleetSearch::broadcast(const std::string& datagram)
{
    return !BroadcastOutOfEveryAdapter(network_.socket, table_, datagram).failed();
}

void FleetSearch::pause(double seconds)
{
    const double start = network_.clock.elapsedSeconds();
    for (double passed = 0.0; passed < seconds; passed = elapsedSince(start))
        network_.waiter.waitForEvent(seconds - passed);
}

void FleetSearch::discardWaiting()
{
    while (network_.socket.take()) { }
}

void FleetSearch::take(double start, std::vector<FoundDevice>& devices)
{
    while (const std::optional<Datagram> datagram = network_.socket.take()) {
        auto reply = ReadDeviceReply(datagram->bytes);
        // An empty MAC names no device, as in the window's list.
        if (!reply || reply->mac.empty())
            continue;
        const double at = elapsedSince(start);
        const auto known = std::find_if(devices.begin(), devices.end(),
                                        [&](const FoundDevice& d) { return d.reply.mac == reply->mac; });
        if (known != devices.end()) {
            // The latest reply tells the device's settings now (after a command, say).
            known->reply = std::move(*reply);
            known->lastHeard = at;
            continue;
        }
        devices.push_back({std::move(*reply), datagram->interfaceIndex, at, at});
    }
}

std::vector<FoundDevice> FleetSearch::run(double seconds,
                                          const std::function<bool(const std::vector<FoundDevice>&)>& enough)
{
    std::vector<FoundDevice> devices;
    const double start = network_.clock.elapsedSeconds();
    double nextRequest = 0.0;
    for (double passed = 0.0; passed < seconds; passed = elapsedSince(start)) {
        if (passed >= nextRequest) {
            broadcast(TavikDatagram::ListRequest());
            nextRequest += kRequestInterval;
        }
        take(start, devices);
        if (enough && enough(devices))
            return devices;
        network_.waiter.waitForEvent(std::min(nextRequest, seconds) - passed);
    }
    take(start, devices);
    return devices;
}
