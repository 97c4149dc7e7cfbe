#include "QtUdpSocket.h"

#include <QNetworkDatagram>
#include <QVariant>

#if defined(Q_OS_WIN)
#include "platform/windows/SendInterface.h"
#endif

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

bool QtUdpSocket::send(const std::string& bytes, const std::string& host, std::uint16_t port, int interfaceIndex)
{
    const QHostAddress address(QString::fromStdString(host));
    if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    const QNetworkDatagram datagram(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), address, port);
    const auto size = static_cast<qint64>(bytes.size());
    if (interfaceIndex < 0)
        return socket_.writeDatagram(datagram) == size;
#if defined(Q_OS_WIN)
    // Windows ignores the index Qt passes in IP_PKTINFO (every copy would leave through the
    // first adapter), so the socket itself is pointed at the adapter for this one send and
    // then given back to the routing table. Qt writes a datagram at once, not later.
    const auto descriptor = static_cast<std::uintptr_t>(socket_.socketDescriptor());
    if (!SelectSendInterface(descriptor, interfaceIndex))
        return false;
    const bool sent = socket_.writeDatagram(datagram) == size;
    SelectSendInterface(descriptor, 0);
    return sent;
#else
    // Choosing the interface by index works for limited broadcasts; choosing it by
    // sender address does not (the kernel answers ENETUNREACH).
    QNetworkDatagram through(datagram);
    through.setInterfaceIndex(static_cast<uint>(interfaceIndex));
    return socket_.writeDatagram(through) == size;
#endif
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
