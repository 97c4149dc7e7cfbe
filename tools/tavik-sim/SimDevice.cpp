#include "SimDevice.h"

#include "devices/Datagrams.h"
#include "devices/SetupDatagrams.h"

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

std::string line(std::string_view label, std::string_view value)
{
    return std::string(label) + " : " + std::string(value) + "\r\n";
}

} // namespace

SimDevice::SimDevice(DeviceConfig config, int interfaceIndex, double rebootSeconds)
    : defaults_(config), config_(std::move(config)), interfaceIndex_(interfaceIndex), rebootSeconds_(rebootSeconds)
{ }

std::string SimDevice::replyBlock() const
{
    const std::pair<ReplyLine, std::string> lines[] = {
        {ReplyLine::HostName, line("Host Name", config_.hostName)},
        {ReplyLine::Mac, line("MAC Address", config_.mac)},
        {ReplyLine::Assignment, line("IP Assignment", config_.dhcp ? "DHCP" : "STATIC")},
        {ReplyLine::Address, line("IP Address", config_.address + ":" + std::to_string(config_.port))},
        {ReplyLine::Mask, line("SubNet Mask", config_.mask)},
        {ReplyLine::Gateway, line("Gateway", config_.gateway)},
        {ReplyLine::Dns, line("DNS Server", config_.dns)},
        {ReplyLine::Firmware, line("Firmware", config_.firmware)},
    };
    std::string block;
    for (const auto& [which, text] : lines) {
        if (!config_.omittedLines.contains(which))
            block += text;
    }
    // Firmware that sends no Firmware line ends its reply with the last value itself: no line break follows.
    if (config_.omittedLines.contains(ReplyLine::Firmware) && block.ends_with("\r\n"))
        block.resize(block.size() - 2);
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
    // The answer shows the settings just taken; the reboot only stops the device hearing.
    if (config_.confirmsSetup && (reaction.kind == Reaction::Kind::SetIP || reaction.kind == Reaction::Kind::SetDHCP))
        reaction.reply = replyBlock();
    return reaction;
}
