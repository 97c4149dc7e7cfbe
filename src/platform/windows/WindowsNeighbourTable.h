#pragma once

#include "platform/NeighbourTable.h"

// Asks the system's address resolution for the address (SendARP): it answers from the
// table when the entry is fresh and resolves it otherwise, on the adapter whose
// subnet holds the address.
class WindowsNeighbourTable final : public NeighbourTable {
public:
    bool hasLinkLayerAddress(const std::string& dottedAddress) override;
};
