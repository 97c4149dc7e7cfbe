#pragma once

#include "platform/NeighbourTable.h"

#include <mutex>

// Reads the entry by an RTM_GETNEIGH dump over netlink: no privilege needed. Asks the link
// through iputils' arping, which carries its own capability.
class LinuxNeighbourTable final : public NeighbourTable {
public:
    bool hasLinkLayerAddress(const std::string& dottedAddress) override;
    Resolution resolveNow(const std::string& dottedAddress, int interfaceIndex) override;

private:
    // Which arping is installed is asked once per run, by the first question (on whichever
    // thread asks it first), not once per question.
    std::once_flag arpingChecked_;
    bool arpingIsIputils_ = false;
};
