#pragma once

#include <string>

// The system's neighbour (ARP) service for IPv4: the table it keeps, and a question asked
// on the link now. A host that drops every echo request still answers address resolution.
// The table alone cannot tell a host that has just given its address up: its entry stays
// resolved for up to tens of seconds, so asking now comes first where it can be asked.
class NeighbourTable {
public:
    enum class Resolution {
        Answered,   // a host answered for the address: it is taken
        Unanswered, // the question went out and nobody answered within its wait
        Unknown,    // the question could not be asked, or its outcome cannot be read
    };

    virtual ~NeighbourTable() = default;
    // True when the table holds a link-layer address for dottedAddress now (a reachable,
    // stale, probing or permanent entry); false for no entry, an unresolved one, a
    // failed one, a text that is not an address, or when the table cannot be read.
    virtual bool hasLinkLayerAddress(const std::string& dottedAddress) = 0;
    // Asks by ARP out of the adapter with the system's interfaceIndex whether a host holds
    // dottedAddress (a plain dotted address) now, whatever the table remembers. Blocks its
    // thread for a few seconds when nobody answers: never call it on the window's thread.
    virtual Resolution resolveNow(const std::string& dottedAddress, int interfaceIndex) = 0;
};
