#pragma once

#include "platform/Pinger.h"

#include <string>
#include <vector>

class AdapterList;
class NeighbourTable;

// Whether an address may be given to a new device. An echo answered within two hops
// means taken. After an unanswered echo to an address on one of the PC's own subnets the
// link is asked by ARP now: a host that drops ICMP still answers that, and a host that
// has just given the address up does not, although the neighbour table keeps its entry
// for tens of seconds. Where the question cannot be asked, a link-layer address in the
// table (the echo made the system resolve the address) means taken. Beyond the PC's
// subnets only the echo can tell. A copy may run on another thread: it holds only the
// services, which outlive it.
class FreeAddressTest final {
public:
    FreeAddressTest(const Pinger& pinger, AdapterList& adapters, NeighbourTable& neighbours);

    // address must be a plain dotted IPv4 address (the callers refuse anything else).
    // Blocks its thread for the echo's wait and, on the PC's subnets, the question's.
    bool inUse(const std::string& address) const;

private:
    // The system's indexes of the adapters whose subnet holds address.
    std::vector<int> adaptersOnSubnetOf(const std::string& address) const;

    Pinger pinger_;
    AdapterList& adapters_;
    NeighbourTable& neighbours_;
};
