#include "NetworkManagerWlan.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

#include <algorithm>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kWirelessInterface = QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless");
const QString kAccessPointInterface = QStringLiteral("org.freedesktop.NetworkManager.AccessPoint");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

constexpr unsigned kDeviceTypeWifi = 2;
// The window waits for these calls; a hung service must not freeze it for the
// bus's default 25 seconds.
constexpr int kCallTimeoutMs = 5000;

QDBusConnection Bus() { return QDBusConnection::systemBus(); }

QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                  const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, interface, method);
    call.setArguments(arguments);
    return Bus().call(call, QDBus::Block, kCallTimeoutMs);
}

std::vector<QString> ObjectPaths(const QDBusMessage& reply)
{
    std::vector<QString> paths;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return paths;
    const auto list = qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().constFirst());
    for (const QDBusObjectPath& path : list)
        paths.push_back(path.path());
    return paths;
}

QVariantMap AllProperties(const QString& path, const QString& interface)
{
    const QDBusMessage reply = Call(path, kPropertiesInterface, QStringLiteral("GetAll"), {interface});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

QVariant Property(const QString& path, const QString& interface, const QString& name)
{
    const QDBusMessage reply = Call(path, kPropertiesInterface, QStringLiteral("Get"), {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

// The device signals that stand for the platform's WLAN notifications.
struct DeviceSignal {
    QString interface;
    QString name;
};
const DeviceSignal kDeviceSignals[] = {
    {kWirelessInterface, QStringLiteral("AccessPointAdded")},
    {kWirelessInterface, QStringLiteral("AccessPointRemoved")},
    {kPropertiesInterface, QStringLiteral("PropertiesChanged")},
    {kDeviceInterface, QStringLiteral("StateChanged")},
};

} // namespace

NetworkManagerWlan::NetworkManagerWlan(QObject* parent) : QObject(parent) { }

NetworkManagerWlan::~NetworkManagerWlan()
{
    if (!subscribedDevice_.isEmpty())
        subscribe(subscribedDevice_, false);
}

std::optional<Wlan::Handle> NetworkManagerWlan::openClient()
{
    QDBusConnection bus = Bus();
    if (!bus.isConnected() || !bus.interface())
        return std::nullopt;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kService);
    if (!registered.isValid() || !registered.value())
        return std::nullopt;
    // NetworkManager keeps no per-client state: a handle only tells one scan's client
    // from the next.
    return ++lastHandle_;
}

void NetworkManagerWlan::registerNotifications(Handle client, std::function<void()> onNotification)
{
    if (client == 0)
        return;
    const std::vector<QString> devices = wifiDevices();
    if (devices.empty())
        return;
    if (!subscribedDevice_.isEmpty())
        subscribe(subscribedDevice_, false);
    onNotification_ = std::move(onNotification);
    subscribedDevice_ = devices.front();
    subscribe(subscribedDevice_, true);
}

void NetworkManagerWlan::unregisterNotifications(Handle)
{
    if (subscribedDevice_.isEmpty())
        return;
    subscribe(subscribedDevice_, false);
    subscribedDevice_.clear();
    onNotification_ = nullptr;
}

int NetworkManagerWlan::interfaceCount(Handle client)
{
    if (client == 0)
        return 0;
    return static_cast<int>(wifiDevices().size());
}

std::vector<WlanNetwork> NetworkManagerWlan::availableNetworks(Handle client)
{
    std::vector<WlanNetwork> networks;
    if (client == 0)
        return networks;
    const std::vector<QString> devices = wifiDevices();
    if (devices.empty())
        return networks;
    // GetAllAccessPoints includes the hidden networks, as the platform's list does.
    const std::vector<QString> accessPoints = ObjectPaths(
        Call(devices.front(), kWirelessInterface, QStringLiteral("GetAllAccessPoints")));
    for (const QString& path : accessPoints) {
        const QVariantMap properties = AllProperties(path, kAccessPointInterface);
        if (properties.isEmpty())
            continue; // vanished between the list and the read
        const QByteArray ssid = properties.value(QStringLiteral("Ssid")).toByteArray();
        const unsigned strength = properties.value(QStringLiteral("Strength")).value<uchar>();
        networks.push_back(
            {std::string(ssid.constData(), static_cast<std::size_t>(ssid.size())), std::min(strength, 100u)});
    }
    return networks;
}

void NetworkManagerWlan::onDeviceSignal(const QDBusMessage&)
{
    if (onNotification_)
        onNotification_();
}

std::vector<QString> NetworkManagerWlan::wifiDevices() const
{
    std::vector<QString> wifi;
    for (const QString& path : ObjectPaths(Call(kManagerPath, kManagerInterface, QStringLiteral("GetDevices")))) {
        if (Property(path, kDeviceInterface, QStringLiteral("DeviceType")).toUInt() == kDeviceTypeWifi)
            wifi.push_back(path);
    }
    return wifi;
}

void NetworkManagerWlan::subscribe(const QString& devicePath, bool on)
{
    QDBusConnection bus = Bus();
    for (const DeviceSignal& signal : kDeviceSignals) {
        if (on)
            bus.connect(kService, devicePath, signal.interface, signal.name, this, SLOT(onDeviceSignal(QDBusMessage)));
        else
            bus.disconnect(kService, devicePath, signal.interface, signal.name, this,
                           SLOT(onDeviceSignal(QDBusMessage)));
    }
}
