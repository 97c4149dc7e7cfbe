#pragma once

#include "platform/NeighbourTable.h"

#include <string>

// iputils' arping, the one program on Linux that asks by ARP without root (its package gives it
// CAP_NET_RAW). Another program of the same name reads its options differently, so only iputils'
// is ever asked a question.

// True when the `arping` found in PATH says it is iputils' ("arping -V"). Starts one process.
bool ArpingIsIputils();

// Runs "arping -f -w 2 -I <interfaceName> <dottedAddress>": it stops at the first reply (exit 0)
// and gives up after 2 s without one (exit 1). Any other end is Unknown.
NeighbourTable::Resolution RunArping(const std::string& interfaceName, const std::string& dottedAddress);
