#include "QtUdpSocket.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QVariant>

namespace {
#if defined(Q_OS_WIN)
// The adapter's first IPv4 address; null when it has none.
QHostAddress FirstIpv4Address(int interfaceIndex)
{
    const QNetworkInterface adapter = QNetworkInterface::interfaceFromIndex(interfaceIndex);
    for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return entry.ip();
    }
    return {};
}
#endif
} // namespace

QtUdpSocket::QtUdpSocket(int receiveBufferBytes) : receiveBufferBytes_(receiveBufferBytes)
{
    QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this] {
        if (onArrival_)
            onArrival_();
    });
}

bool QtUdpSocket::bind(std::uint16_t port)
{
    // The port is the program's alone. With address sharing the bind would succeed over
    // another program holding 8080 (on Windows even over one that does not share it), no
    // "port in use" line would show, and unicast replies would go to whichever socket the
    // system picks. DontShareAddress is the default on Linux (no SO_REUSEADDR) and sets
    // SO_EXCLUSIVEADDRUSE on Windows before the bind.
    if (!socket_.bind(QHostAddress::AnyIPv4, port, QAbstractSocket::DontShareAddress))
        return false;
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(receiveBufferBytes_));
    return true;
}

bool QtUdpSocket::isBound() const { return socket_.state() == QAbstractSocket::BoundState; }

void QtUdpSocket::close() { socket_.close(); }

bool QtUdpSocket::enableBroadcast()
{
    // Qt switches SO_BROADCAST on for every UDP socket it creates; what remains to
    // check is that there is a socket to carry it.
    return isBound();
}

bool QtUdpSocket::send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex)
{
    const QHostAddress address(QString::fromStdString(host));
    if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    QNetworkDatagram datagram(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), address, port);
    // Choosing the interface by index works for limited broadcasts; choosing it by
    // sender address does not (the kernel answers ENETUNREACH).
    if (interfaceIndex >= 0) {
        datagram.setInterfaceIndex(static_cast<uint>(interfaceIndex));
#if defined(Q_OS_WIN)
        // Qt passes the index in IP_PKTINFO together with the sender address, 0.0.0.0
        // when unset. Linux ignores that address on sending; Windows writes it into the
        // packet as its source, and nobody can answer 0.0.0.0. So on Windows the
        // datagram carries the adapter's own address as well. (Adapter indexes from
        // GetAdaptersInfo are the ones QNetworkInterface uses.)
        datagram.setSender(FirstIpv4Address(interfaceIndex));
#endif
    }
    return socket_.writeDatagram(datagram) == static_cast<qint64>(bytes.size());
}

std::optional<Datagram> QtUdpSocket::take()
{
    if (!socket_.hasPendingDatagrams())
        return std::nullopt;
    const QNetworkDatagram received = socket_.receiveDatagram();
    if (!received.isValid())
        return std::nullopt;
    const QByteArray data = received.data();
    QHostAddress sender = received.senderAddress();
    bool isV4 = false;
    const quint32 v4 = sender.toIPv4Address(&isV4);
    return Datagram{std::string(data.constData(), static_cast<std::size_t>(data.size())),
                    isV4 ? QHostAddress(v4).toString().toStdString() : sender.toString().toStdString(),
                    received.interfaceIndex() > 0 ? static_cast<int>(received.interfaceIndex()) : -1};
}

void QtUdpSocket::setArrivalHandler(std::function<void()> onArrival) { onArrival_ = std::move(onArrival); }
