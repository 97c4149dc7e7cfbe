#include "AdapterBroadcast.h"

#include "Datagrams.h"

#include "common/FormState.h"
#include "platform/UdpSocket.h"

bool EnsureBound(UdpSocket& socket)
{
    return socket.isBound() || socket.bind(TavikDatagram::Port);
}

BroadcastResult BroadcastOutOfAdapter(UdpSocket& socket, const FormState& state, int adapter,
                                      const std::string& datagram)
{
    const int interfaceIndex =
        adapter >= 0 && adapter < static_cast<int>(state.nics.size()) ? state.nics[adapter].interfaceIndex : -1;
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
