#include "FreeAddressTest.h"

#include "platform/Pinger.h"

#include "platform/AdapterList.h"
#include "platform/DottedQuad.h"
#include "platform/NeighbourTable.h"

FreeAddressTest::FreeAddressTest(const Pinger& pinger, AdapterList& adapters, NeighbourTable& neighbours)
    : pinger_(pinger), adapters_(adapters), neighbours_(neighbours)
{ }

bool FreeAddressTest::inUse(const std::string& address) const
{
    if (pinger_.Ping(address))
        return true;
    const auto parsed = ParseDottedQuad(address);
    if (!parsed)
        return false;
    const std::string dotted = DottedQuadText(*parsed);
    const std::vector<int> links = adaptersOnSubnetOf(dotted);
    if (links.empty())
        return false;
    // Two adapters on one subnet may lead to two separate links: the address is free only
    // where no link has a host answering for it.
    bool everyLinkUnanswered = true;
    for (int link : links) {
        const NeighbourTable::Resolution answer = neighbours_.resolveNow(dotted, link);
        if (answer == NeighbourTable::Resolution::Answered)
            return true;
        everyLinkUnanswered = everyLinkUnanswered && answer == NeighbourTable::Resolution::Unanswered;
    }
    // Where a link could not be asked, the table decides: the echo made the system resolve
    // the address, so a host that is there is in it (and one that has just left may be).
    return !everyLinkUnanswered && neighbours_.hasLinkLayerAddress(dotted);
}

std::vector<int> FreeAddressTest::adaptersOnSubnetOf(const std::string& address) const
{
    // Asked now, not taken from the tabs: the PC may have moved since the last refresh.
    std::vector<int> indexes;
    for (const AdapterInfo& adapter : adapters_.adapters().value_or(std::vector<AdapterInfo>()))
        if (OnSameSubnet(address, adapter.ipAddress, adapter.ipMask))
            indexes.push_back(adapter.interfaceIndex);
    return indexes;
}
