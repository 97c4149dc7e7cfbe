#pragma once

#include "platform/NeighbourTable.h"

// Reads the entry by an RTM_GETNEIGH dump over netlink: no privilege needed.
class LinuxNeighbourTable final : public NeighbourTable {
public:
    bool hasLinkLayerAddress(const std::string& dottedAddress) override;
};
