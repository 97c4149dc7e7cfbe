#pragma once

#include "platform/NeighbourTable.h"

// Reads the system's neighbour table (GetIpNetTable2), and asks the link with
// ResolveIpNetEntry2, which drops the entry the system holds and resolves the address afresh.
// That call is looked up when first needed: where iphlpapi.dll lacks it (wine), or it is
// refused, the question's answer is Unknown and the table decides.
class WindowsNeighbourTable final : public NeighbourTable {
public:
    bool hasLinkLayerAddress(const std::string& dottedAddress) override;
    Resolution resolveNow(const std::string& dottedAddress, int interfaceIndex) override;
};
