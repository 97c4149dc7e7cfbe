#include "SimRuntime.h"

#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTime>
#include <QTimer>

#include <cstdio>

namespace {

// Printable ASCII as it is, everything else (and the backslash) as \\xNN.
std::string escaped(const std::string& bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            out += c;
        else
            out += std::string("\\x") + digits[byte >> 4] + digits[byte & 0xF];
    }
    return out;
}

} // namespace

SimRuntime::SimRuntime(SimSettings settings)
    : settings_(std::move(settings)), addresses_([this](const std::string& text) { error(text); })
{ }

void SimRuntime::log(const std::string& text) const
{
    if (settings_.quiet)
        return;
    std::fprintf(stderr, "%s tavik-sim: %s\n", qPrintable(QTime::currentTime().toString("HH:mm:ss.zzz")), text.c_str());
    std::fflush(stderr);
}

void SimRuntime::error(const std::string& text) const
{
    std::fprintf(stderr, "tavik-sim: %s\n", text.c_str());
    std::fflush(stderr);
}

bool SimRuntime::start()
{
    clock_.start();
    std::vector<SimDevice> devices;
    for (const DeviceConfig& config : settings_.devices) {
        int interfaceIndex = -1;
        if (!config.interfaceName.empty()) {
            interfaceIndex = QNetworkInterface::interfaceIndexFromName(QString::fromStdString(config.interfaceName));
            if (interfaceIndex <= 0) {
                error("no interface " + config.interfaceName + " for " + config.hostName);
                return false;
            }
        }
        devices.emplace_back(config, interfaceIndex, settings_.rebootSeconds);
    }
    if (settings_.manageAddresses) {
        std::vector<AddressManager::Placement> placements;
        for (const DeviceConfig& config : settings_.devices)
            placements.emplace_back(config.address, config.interfaceName);
        if (!addresses_.add(placements))
            return false;
    }
    const auto mode = settings_.broadcastReplies ? SimFleet::ReplyMode::Broadcast : SimFleet::ReplyMode::Unicast;
    fleet_ = std::make_unique<SimFleet>(std::move(devices), mode,
                                        [](int jitterMs) { return QRandomGenerator::global()->bounded(jitterMs + 1); });

    std::string reason;
    listener_ = UdpEndpoint::open(settings_.bindAddress, settings_.listenPort, reason);
    if (!listener_) {
        error("cannot listen: " + reason);
        return false;
    }
    listener_->setArrivalHandler([this](const Arrival& arrival) { onArrival(arrival); });
    if (listensBeyondTheWildcard() && !openDeviceSockets())
        return false;

    for (const SimDevice& device : fleet_->devices()) {
        const DeviceConfig& c = device.config();
        log(c.hostName + " " + c.mac + " " + (c.dhcp ? "DHCP " : "static ") + c.address + ":" + std::to_string(c.port)
            + (c.interfaceName.empty() ? "" : " on " + c.interfaceName)
            + (c.replyDelayMs || c.replyJitterMs
                   ? ", replies after " + std::to_string(c.replyDelayMs) + "+" + std::to_string(c.replyJitterMs) + " ms"
                   : "")
            + (c.confirmsSetup ? ", answers SetIP/SetDHCP" : ""));
    }
    log("listening on " + settings_.bindAddress + ":" + std::to_string(settings_.listenPort) + ", replies "
        + (settings_.broadcastReplies ? "by broadcast" : "to the requester"));
    if (!settings_.recordFile.empty()) {
        recordFile_.setFileName(QString::fromStdString(settings_.recordFile));
        if (!recordFile_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            error("cannot write " + settings_.recordFile);
            return false;
        }
    }
    if (!settings_.readyFile.empty()) {
        QFile ready(QString::fromStdString(settings_.readyFile));
        if (!ready.open(QIODevice::WriteOnly)) {
            error("cannot write " + settings_.readyFile);
            return false;
        }
    }
    return true;
}

bool SimRuntime::openDeviceSockets()
{
    // Keeps the sockets of addresses still in use, opens the missing ones, and goes on
    // past an address that cannot be had, so the other devices stay reachable.
    bool all = true;
    std::map<std::string, std::unique_ptr<UdpEndpoint>> wanted;
    for (const SimDevice& device : fleet_->devices()) {
        const std::string& address = device.config().address;
        if (wanted.count(address))
            continue;
        auto socket = std::move(deviceSockets_[address]);
        if (!socket) {
            std::string reason;
            socket = UdpEndpoint::open(address, settings_.listenPort, reason);
            if (!socket) {
                error("cannot listen for unicast to " + address
                      + " (is it on an interface? --manage-addresses puts "
                        "it there): "
                      + reason);
                all = false;
                continue;
            }
            socket->setArrivalHandler([this](const Arrival& arrival) { onArrival(arrival); });
        }
        wanted[address] = std::move(socket);
    }
    deviceSockets_ = std::move(wanted);
    return all;
}

void SimRuntime::onArrival(const Arrival& arrival)
{
    const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
    record(arrival, now);
    const FleetResponse response = fleet_->onDatagram(arrival, now);
    for (const std::string& line : response.log)
        log(line);
    for (const AddressMove& move : response.moves)
        moveAddress(move);
    // Later, not now: the datagram may have come through a socket that is about to go.
    if (!response.moves.empty() && listensBeyondTheWildcard())
        QTimer::singleShot(0, &context_, [this] { openDeviceSockets(); });
    for (const OutgoingReply& reply : response.replies)
        sendLater(reply);

    for (std::size_t i : response.rebooting) {
        QTimer::singleShot(static_cast<int>(settings_.rebootSeconds * 1000), &context_,
                           [this, i] { log(fleet_->devices()[i].config().hostName + " is back"); });
    }
}

void SimRuntime::record(const Arrival& arrival, double now)
{
    if (!recordFile_.isOpen())
        return;
    const std::string line = QString::number(now, 'f', 3).toStdString() + " " + arrival.senderAddress + ":"
        + std::to_string(arrival.senderPort) + " -> " + arrival.destinationAddress + " if"
        + std::to_string(arrival.interfaceIndex) + " " + escaped(arrival.bytes) + "\n";
    recordFile_.write(line.data(), static_cast<qint64>(line.size()));
    recordFile_.flush();
}

void SimRuntime::sendLater(const OutgoingReply& reply)
{
    auto send = [this, reply] {
        std::string reason;
        if (!listener_->send(reply, reason))
            error("reply of " + fleet_->devices()[reply.device].config().hostName + " refused: " + reason);
    };
    if (reply.delayMs <= 0)
        send();
    else
        QTimer::singleShot(reply.delayMs, &context_, send);
}

void SimRuntime::moveAddress(const AddressMove& move)
{
    if (!settings_.manageAddresses)
        return;
    // Another device may still stand at the old address.
    if (!fleet_->isDeviceAddress(move.from))
        addresses_.remove(move.from);
    addresses_.add({{move.to, fleet_->devices()[move.device].config().interfaceName}});
}
