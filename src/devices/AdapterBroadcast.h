#pragma once

#include <string>
#include <vector>

class UdpSocket;
class AdapterTable;

// Which adapters took a datagram sent out of every one of them.
struct AdapterSendReport {
    std::vector<int> took; // 0-based adapters in tab order; -1 for the one send the system routed
    bool anyRefused = false;
    // One adapter that refuses (down but keeping its address) must not turn a datagram that
    // left elsewhere into an error; a socket without its port refuses nothing.
    bool failed() const { return took.empty() && anyRefused; }
};

// The socket keeps port 8080 for the whole run (closing it would throw away the replies
// waiting in its buffer); it is bound again only when it has lost the port, for example
// to another program at start. False when the port cannot be had.
bool EnsureBound(UdpSocket& socket);

// Sends a limited broadcast to port 8080 out of each adapter the last refresh found, in
// tab order: from a socket bound to no address it would leave through one interface only,
// and the device may sit behind any of them. With no adapter it goes out once and the
// system chooses the way. The socket is bound at most once, before the first send: one
// closed meanwhile (the window closing) takes nothing more.
AdapterSendReport BroadcastOutOfEveryAdapter(UdpSocket& socket, const AdapterTable& nics, const std::string& datagram);

// Sends `copies` of a datagram to one device's address, port 8080, out of the interface its
// reply arrived on (-1: unknown). By the routing table alone a device whose address lies on
// no local network would be sent to the default gateway and missed; on an interface with no
// route to it, the system takes the address as on the link and asks for it there. Where
// that interface refuses, the routing table chooses. False when a copy could not leave.
bool SendToDevice(UdpSocket& socket, const std::string& datagram, int copies, const std::string& address,
                  int heardOnInterface);
