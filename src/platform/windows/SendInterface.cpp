#include "SendInterface.h"

#include <winsock2.h>
#include <ws2tcpip.h>

bool SelectSendInterface(std::uintptr_t socket, int interfaceIndex)
{
    if (interfaceIndex < 0)
        return false;
    // The index goes in network byte order, unlike IP_MULTICAST_IF's.
    const DWORD index = htonl(static_cast<u_long>(interfaceIndex));
    return setsockopt(static_cast<SOCKET>(socket), IPPROTO_IP, IP_UNICAST_IF, reinterpret_cast<const char*>(&index),
                      sizeof index)
        == 0;
}
