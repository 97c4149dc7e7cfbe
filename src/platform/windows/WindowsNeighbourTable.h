#pragma once

#include "platform/NeighbourTable.h"

// Reads the system's neighbour table (GetIpNetTable2) without asking the network: the echo
// before has already made the system resolve the address, and an active resolution
// (SendARP, ResolveIpNetEntry2) would wait seconds for an address nobody holds.
class WindowsNeighbourTable final : public NeighbourTable {
public:
    bool hasLinkLayerAddress(const std::string& dottedAddress) override;
};
