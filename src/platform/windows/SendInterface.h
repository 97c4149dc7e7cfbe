#pragma once

#include <cstdint>

// Makes the next datagrams of a UDP socket leave through one adapter, with that adapter's
// address as their source (IP_UNICAST_IF, Windows Vista and later). A limited broadcast
// (255.255.255.255) otherwise leaves through one adapter only. interfaceIndex 0 gives the
// choice back to the routing table. False when the system refuses.
//
// Windows ignores the adapter index a send passes in IP_PKTINFO, and a socket bound to one
// adapter's address cannot share the port with the program's exclusive 0.0.0.0 socket: the
// option on that one socket is what keeps both the port and the choice of adapter.
bool SelectSendInterface(std::uintptr_t socket, int interfaceIndex);
