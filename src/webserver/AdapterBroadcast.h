#pragma once

#include <string>

class UdpSocket;
class AdapterTable;

enum class BroadcastResult { Sent, NotReady, Refused };

// The socket keeps port 8080 for the whole run (closing it would throw away the replies
// waiting in its buffer); it is bound again only when it has lost the port, for example
// to another program at start. False when the port cannot be had.
bool EnsureBound(UdpSocket& socket);

// Sends a limited broadcast to port 8080 out of one local adapter (0-based, in tab
// order): from a socket bound to no address it would otherwise leave through one
// interface only.
BroadcastResult BroadcastOutOfInterface(UdpSocket& socket, int interfaceIndex, const std::string& datagram);
BroadcastResult BroadcastOutOfAdapter(UdpSocket& socket, const AdapterTable& nics, int adapter,
                                      const std::string& datagram);
