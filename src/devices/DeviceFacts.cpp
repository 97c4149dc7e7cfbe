#include "DeviceFacts.h"

#include "common/AdapterTable.h"
#include "platform/DottedQuad.h"

#include <algorithm>

namespace {

bool ReachedByAddress(const std::string& sender, const std::vector<NicRecord>& nics,
                      const std::vector<std::uint32_t>& searched)
{
    const std::optional<std::uint32_t> address = ParseDottedQuad(sender);
    return address && std::binary_search(searched.begin(), searched.end(), *address)
        && std::none_of(nics.begin(), nics.end(),
                        [&](const NicRecord& nic) { return OnSameSubnet(sender, nic.ip, nic.subnet); });
}

} // namespace

DeviceFacts FactsAbout(const HeardDevice& device, const std::vector<HeardDevice>& others,
                       const std::vector<NicRecord>& nics, const std::vector<std::uint32_t>& searched)
{
    DeviceFacts facts;
    facts.reachedByAddress = ReachedByAddress(device.senderAddress, nics, searched);
    for (std::size_t i = 0; i < nics.size(); ++i) {
        if (device.interfaceIndex < 0 || nics[i].interfaceIndex != device.interfaceIndex)
            continue;
        facts.nicNumber = static_cast<int>(i) + 1;
        facts.nicAddress = nics[i].ip;
        facts.nicPrefixLength = MaskPrefixLength(nics[i].subnet);
        // Only a device whose address and adapter network are both readable can be off it.
        facts.subnetMismatch = !facts.reachedByAddress && ParseDottedQuad(device.address) && ParseDottedQuad(nics[i].ip)
            && facts.nicPrefixLength.value_or(0) > 0 && !OnSameSubnet(device.address, nics[i].ip, nics[i].subnet);
        break;
    }
    if (ParseDottedQuad(device.address)) {
        for (const HeardDevice& other : others)
            if (other.mac != device.mac && other.address == device.address)
                facts.sameAddressAs.push_back(other.mac);
    }
    return facts;
}

std::string SeenViaText(const DeviceFacts& facts)
{
    if (facts.nicNumber == 0)
        return {};
    std::string text = "Found on NIC #" + std::to_string(facts.nicNumber) + " (" + facts.nicAddress;
    if (facts.nicPrefixLength)
        text += "/" + std::to_string(*facts.nicPrefixLength);
    return text + ")";
}

std::string SubnetMismatchText(const std::string& address, const DeviceFacts& facts)
{
    if (!facts.subnetMismatch)
        return {};
    return address + " is not on the network of NIC #" + std::to_string(facts.nicNumber)
        + ": Reboot may not reach it; Set IP can move it.";
}

std::string DuplicateAddressText(const std::string& address, const DeviceFacts& facts)
{
    if (facts.sameAddressAs.empty())
        return {};
    std::string macs;
    for (const std::string& mac : facts.sameAddressAs)
        macs += (macs.empty() ? "" : ", ") + mac;
    const bool several = facts.sameAddressAs.size() > 1;
    return address + " is also the address of " + macs + ": " + (several ? "several" : "two")
        + " devices answer on it.";
}

std::string DeviceHintText(const std::string& address, const DeviceFacts& facts)
{
    std::string text;
    for (const std::string& line :
         {SeenViaText(facts), SubnetMismatchText(address, facts), DuplicateAddressText(address, facts)}) {
        if (!line.empty())
            text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}
