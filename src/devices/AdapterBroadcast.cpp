#include "AdapterBroadcast.h"

#include "Datagrams.h"

#include "common/AdapterTable.h"
#include "platform/UdpSocket.h"

bool EnsureBound(UdpSocket& socket) { return socket.isBound() || socket.bind(TavikDatagram::Port); }

AdapterSendReport BroadcastOutOfEveryAdapter(UdpSocket& socket, const AdapterTable& nics, const std::string& datagram)
{
    AdapterSendReport report;
    EnsureBound(socket);
    const int adapters = static_cast<int>(nics.count());
    for (int adapter = adapters ? 0 : -1; adapter < adapters && socket.isBound(); ++adapter) {
        const NicRecord* nic = nics.find(adapter + 1);
        if (socket.send(datagram, std::string(TavikDatagram::BroadcastHost), TavikDatagram::Port,
                        nic ? nic->interfaceIndex : -1))
            report.took.push_back(adapter);
        else
            report.anyRefused = true;
    }
    return report;
}

bool SendToDevice(UdpSocket& socket, const std::string& datagram, int copies, const std::string& address,
                  int heardOnInterface)
{
    EnsureBound(socket);
    bool sent = true;
    for (int i = 0; i < copies && sent; ++i)
        sent = (heardOnInterface >= 0 && socket.send(datagram, address, TavikDatagram::Port, heardOnInterface))
            || socket.send(datagram, address, TavikDatagram::Port);
    return sent;
}
