#include "AdapterBroadcast.h"

#include "Datagrams.h"

#include "common/AdapterTable.h"
#include "platform/UdpSocket.h"

bool EnsureBound(UdpSocket& socket) { return socket.isBound() || socket.bind(TavikDatagram::Port); }

BroadcastResult BroadcastOutOfAdapter(UdpSocket& socket, const AdapterTable& nics, int adapter,
                                      const std::string& datagram)
{
    const NicRecord* nic = nics.find(adapter + 1);
    const int interfaceIndex = nic ? nic->interfaceIndex : -1;
    return BroadcastOutOfInterface(socket, interfaceIndex, datagram);
}

BroadcastResult BroadcastOutOfInterface(UdpSocket& socket, int interfaceIndex, const std::string& datagram)
{
    if (!EnsureBound(socket))
        return BroadcastResult::NotReady;
    return socket.send(datagram, std::string(TavikDatagram::BroadcastHost), TavikDatagram::Port, interfaceIndex)
        ? BroadcastResult::Sent
        : BroadcastResult::Refused;
}
