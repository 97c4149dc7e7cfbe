#pragma once

#include "platform/AdapterList.h"

// getifaddrs for the interfaces and their first IPv4 address and mask, a netlink route dump
// for each interface's default gateway. Listed by interface index, loopback left out; an
// interface without IPv4 shows the address "0.0.0.0", as the program's adapter rules expect.
// The description is the interface name.
class LinuxAdapterList final : public AdapterList {
public:
    std::optional<std::vector<AdapterInfo>> adapters() override;
};
