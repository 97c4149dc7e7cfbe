#pragma once

#include "platform/AdapterList.h"

// getifaddrs for addresses and masks, a netlink route dump for each interface's
// default gateway; kernel order, loopback left out.
class LinuxAdapterList final : public AdapterList {
public:
    std::optional<std::vector<AdapterInfo>> adapters() override;
};
