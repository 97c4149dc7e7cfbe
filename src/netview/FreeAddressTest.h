#pragma once

#include "platform/Pinger.h"

#include <string>

class AdapterList;
class NeighbourTable;

// Whether an address may be given to a new device. An echo answered within two hops
// means taken. An unanswered echo to an address on one of the PC's own subnets has
// made the system resolve the address: a host that drops ICMP still answers that, so
// a link-layer address in the neighbour table means taken as well. Beyond the PC's
// subnets only the echo can tell. A copy may run on another thread: it holds only the
// services, which outlive it.
class FreeAddressTest final {
public:
    FreeAddressTest(const Pinger& pinger, AdapterList& adapters, NeighbourTable& neighbours);

    // address must be a plain dotted IPv4 address (the callers refuse anything else).
    bool inUse(const std::string& address) const;

private:
    bool onOwnSubnet(const std::string& address) const;

    Pinger pinger_;
    AdapterList& adapters_;
    NeighbourTable& neighbours_;
};
