#include "QtUdpSocket.h"

#include <QNetworkDatagram>
#include <QVariant>

namespace {
// The default buffer keeps only ~166 small replies when the window is busy for a
// second; 4 MiB keeps a burst of a thousand.
constexpr int kReceiveBufferBytes = 4 << 20;
} // namespace

QtUdpSocket::QtUdpSocket()
{
    QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this] {
        if (onArrival_)
            onArrival_();
    });
}

bool QtUdpSocket::bind(std::uint16_t port)
{
    // Address sharing lets a device simulator on the same host bind the port too.
    if (!socket_.bind(QHostAddress::AnyIPv4, port,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return false;
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBufferBytes));
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

bool QtUdpSocket::send(const std::string& bytes, const std::string& host, std::uint16_t port,
                       int interfaceIndex)
{
    const QHostAddress address(QString::fromStdString(host));
    if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    QNetworkDatagram datagram(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                              address, port);
    // Choosing the interface by index works for limited broadcasts; choosing it by
    // sender address does not (the kernel answers ENETUNREACH).
    if (interfaceIndex >= 0)
        datagram.setInterfaceIndex(static_cast<uint>(interfaceIndex));
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
                    isV4 ? QHostAddress(v4).toString().toStdString() : sender.toString().toStdString()};
}

void QtUdpSocket::setArrivalHandler(std::function<void()> onArrival) { onArrival_ = std::move(onArrival); }
