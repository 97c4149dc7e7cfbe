#pragma once

#include "platform/Wlan.h"

#include <QDBusMessage>
#include <QObject>
#include <QString>

class QDBusConnection;

// The WLAN service on Linux: NetworkManager on the system bus (DBUS_SYSTEM_BUS_ADDRESS
// is honoured). A client is NetworkManager being there; the interfaces are its Wi-Fi
// devices; the networks are the access points of the first of them, as NetworkManager
// last saw them (no new radio scan is asked for).
class NetworkManagerWlan final : public QObject, public Wlan {
    Q_OBJECT
public:
    explicit NetworkManagerWlan(QObject* parent = nullptr);
    ~NetworkManagerWlan() override;

    std::optional<Handle> openClient() override;
    void registerNotifications(Handle client, std::function<void()> onNotification) override;
    void unregisterNotifications(Handle client) override;
    int interfaceCount(Handle client) override;
    std::vector<WlanNetwork> availableNetworks(Handle client) override;

private Q_SLOTS:
    void onDeviceSignal(const QDBusMessage& message);

private:
    // Object paths of NetworkManager's Wi-Fi devices, in its order.
    std::vector<QString> wifiDevices() const;
    // Connects (or disconnects) the device signals that count as notifications.
    void subscribe(const QString& devicePath, bool on);

    QString subscribedDevice_;
    std::function<void()> onNotification_;
    Handle lastHandle_ = 0;
};
