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
    if (!EnsureBound(socket))
        return BroadcastResult::NotReady;
    const int interfaceIndex =
        adapter >= 0 && adapter < static_cast<int>(state.nics.size()) ? state.nics[adapter].interfaceIndex : -1;
    return socket.send(datagram, std::string(TavikDatagram::BroadcastHost), TavikDatagram::Port, interfaceIndex)
               ? BroadcastResult::Sent
               : BroadcastResult::Refused;
}
