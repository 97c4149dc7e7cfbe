#include "SimFleet.h"

#include "devices/Datagrams.h"

#include <algorithm>

namespace {

std::string describe(const SimDevice& device, const Reaction& reaction, const Arrival& arrival)
{
    const std::string who = device.config().hostName + " " + device.config().mac + " ";
    const std::string from = " from " + arrival.senderAddress + ":" + std::to_string(arrival.senderPort);
    const std::string confirmed = reaction.reply ? ", new block sent back" : "";
    switch (reaction.kind) {
    case Reaction::Kind::Listed:
        return who + "List" + from;
    case Reaction::Kind::Rebooting:
        return who + "Reboot" + from + ", silent while rebooting";
    case Reaction::Kind::DefaultsRestored:
        return who + "Default" + from + ", back at " + device.config().address + ", rebooting";
    case Reaction::Kind::SetIP:
        return who + "SetIP" + from + ": static " + device.config().address + ":" + std::to_string(device.config().port)
            + " mask " + device.config().mask + " gw " + device.config().gateway + " dns " + device.config().dns
            + confirmed + ", rebooting";
    case Reaction::Kind::SetDHCP:
        return who + "SetDHCP" + from + ": DHCP, port " + std::to_string(device.config().port) + confirmed
            + ", rebooting";
    case Reaction::Kind::Ignored:
        break;
    }
    return {};
}

} // namespace

SimFleet::SimFleet(std::vector<SimDevice> devices, ReplyMode mode, JitterSource jitter)
    : devices_(std::move(devices)), mode_(mode), jitter_(std::move(jitter))
{ }

bool SimFleet::isDeviceAddress(const std::string& address) const
{
    return std::any_of(devices_.begin(), devices_.end(),
                       [&](const SimDevice& device) { return device.config().address == address; });
}

FleetResponse SimFleet::onDatagram(const Arrival& arrival, double now)
{
    FleetResponse response;
    // No sender is filtered out: in a namespace shared with the program, the program's
    // unicast to a device comes from the device's own address. Our own replies (broadcast
    // ones come back to us) are safe anyway, as devices answer requests only.
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        SimDevice& device = devices_[i];
        const Reaction reaction = device.onDatagram(arrival, now);
        if (reaction.kind == Reaction::Kind::Ignored)
            continue;
        response.log.push_back(describe(device, reaction, arrival));
        if (reaction.addressBefore != device.config().address)
            response.moves.push_back({i, reaction.addressBefore, device.config().address});
        if (device.isSilent(now))
            response.rebooting.push_back(i);
        if (!reaction.reply)
            continue;
        OutgoingReply reply;
        reply.bytes = *reaction.reply;
        reply.sourceAddress = device.config().address;
        // A setup's answer goes back to whoever sent the settings, whatever list requests get.
        const bool broadcast = mode_ == ReplyMode::Broadcast && reaction.kind == Reaction::Kind::Listed;
        reply.destinationAddress = broadcast ? std::string(TavikDatagram::BroadcastHost) : arrival.senderAddress;
        reply.destinationPort = broadcast ? TavikDatagram::Port : arrival.senderPort;
        reply.interfaceIndex = arrival.interfaceIndex;
        const int jitterMs = device.config().replyJitterMs;
        reply.delayMs = device.config().replyDelayMs + (jitterMs > 0 && jitter_ ? jitter_(jitterMs) : 0);
        reply.device = i;
        response.replies.push_back(std::move(reply));
    }
    return response;
}
