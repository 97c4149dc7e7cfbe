#include "SimDevice.h"

#include "webserver/Datagrams.h"
#include "webserver/SetupDatagrams.h"

#include <string_view>

namespace {

// The keyword of a request: what stands between the prefix and the next "|".
std::optional<std::string_view> keywordOf(std::string_view datagram)
{
    if (!datagram.starts_with(TavikDatagram::Prefix))
        return std::nullopt;
    const std::string_view rest = datagram.substr(TavikDatagram::Prefix.size());
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos)
        return std::nullopt;
    return rest.substr(0, bar);
}

void line(std::string& block, std::string_view label, std::string_view value)
{
    block += label;
    block += " : ";
    block += value;
    block += "\r\n";
}

} // namespace

SimDevice::SimDevice(DeviceConfig config, int interfaceIndex, double rebootSeconds)
    : defaults_(config), config_(std::move(config)), interfaceIndex_(interfaceIndex), rebootSeconds_(rebootSeconds)
{ }

std::string SimDevice::replyBlock() const
{
    std::string block;
    line(block, "Host Name", config_.hostName);
    line(block, "MAC Address", config_.mac);
    line(block, "IP Assignment", config_.dhcp ? "DHCP" : "STATIC");
    line(block, "IP Address", config_.address + ":" + std::to_string(config_.port));
    line(block, "SubNet Mask", config_.mask);
    line(block, "Gateway", config_.gateway);
    line(block, "DNS Server", config_.dns);
    line(block, "Firmware", config_.firmware);
    return block;
}

bool SimDevice::hears(const Arrival& arrival, double now) const
{
    if (isSilent(now))
        return false;
    return interfaceIndex_ < 0 || arrival.interfaceIndex < 0 || arrival.interfaceIndex == interfaceIndex_;
}

bool SimDevice::isAddressedByMac(const std::array<std::uint8_t, 3>& macTail) const
{
    return TavikSetup::MacTailOf(config_.mac) == macTail;
}

Reaction SimDevice::onDatagram(const Arrival& arrival, double now)
{
    Reaction reaction;
    reaction.addressBefore = config_.address;
    if (!hears(arrival, now))
        return reaction;
    const auto keyword = keywordOf(arrival.bytes);
    if (!keyword)
        return reaction;

    const bool toMe = arrival.destinationAddress == config_.address;
    if (*keyword == "List") {
        reaction.kind = Reaction::Kind::Listed;
        reaction.reply = replyBlock();
    } else if (*keyword == "Reboot" && toMe) {
        reaction.kind = Reaction::Kind::Rebooting;
        reboot(now);
    } else if (*keyword == "Default" && toMe) {
        reaction.kind = Reaction::Kind::DefaultsRestored;
        config_ = defaults_;
        reboot(now);
    } else if (const auto setIP = TavikSetup::ParseSetIP(arrival.bytes); setIP && isAddressedByMac(setIP->macTail)) {
        reaction.kind = Reaction::Kind::SetIP;
        config_.dhcp = false;
        config_.address = TavikSetup::DottedText(setIP->address);
        config_.port = setIP->port;
        config_.mask = TavikSetup::DottedText(setIP->mask);
        config_.gateway = TavikSetup::DottedText(setIP->gateway);
        config_.dns = TavikSetup::DottedText(setIP->dns);
        reboot(now);
    } else if (const auto setDHCP = TavikSetup::ParseSetDHCP(arrival.bytes);
               setDHCP && isAddressedByMac(setDHCP->macTail)) {
        // A DHCP server on the simulated LAN would hand out the same lease again.
        reaction.kind = Reaction::Kind::SetDHCP;
        config_.dhcp = true;
        config_.port = setDHCP->port;
        reboot(now);
    }
    return reaction;
}
