#pragma once

#include <string>

// The system's neighbour (ARP) table for IPv4. A host that drops every echo request
// still answers the address resolution an echo sets off, so a resolved entry right
// after an unanswered echo proves the address is taken.
class NeighbourTable {
public:
    virtual ~NeighbourTable() = default;
    // True when the table holds a link-layer address for dottedAddress now (a reachable,
    // stale, probing or permanent entry); false for no entry, an unresolved one, a
    // failed one, a text that is not an address, or when the table cannot be read.
    virtual bool hasLinkLayerAddress(const std::string& dottedAddress) = 0;
};
