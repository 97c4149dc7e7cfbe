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
    return onOwnSubnet(address) && neighbours_.hasLinkLayerAddress(address);
}

bool FreeAddressTest::onOwnSubnet(const std::string& address) const
{
    // Asked now, not taken from the tabs: the PC may have moved since the last refresh.
    const auto adapters = adapters_.adapters();
    if (!adapters)
        return false;
    for (const AdapterInfo& adapter : *adapters)
        if (OnSameSubnet(address, adapter.ipAddress, adapter.ipMask))
            return true;
    return false;
}
