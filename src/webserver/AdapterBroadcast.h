#pragma once

#include <string>

class UdpSocket;
struct FormState;

enum class BroadcastResult { Sent, NotReady, Refused };

// Sends a limited broadcast to port 8080 out of one local adapter (0-based, in tab
// order): from a socket bound to no address it would otherwise leave through one
// interface only. The socket is bound again only when it has lost its port, so
// nothing waiting in its buffer is thrown away.
BroadcastResult BroadcastOutOfAdapter(UdpSocket& socket, const FormState& state, int adapter,
                                      const std::string& datagram);
