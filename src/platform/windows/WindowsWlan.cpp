#include "WindowsWlan.h"

#include <windows.h>
#include <wlanapi.h>

#include <algorithm>

namespace {

constexpr DWORD kClientVersion = 2; // Vista and later
// Every source: 802.1X auto-config, security, OneX, ACM, MSM, WLAN security and IHV.
constexpr DWORD kAllSources = 0x7F;
constexpr DWORD kIncludeAllManualHiddenProfiles = 2;
constexpr std::size_t kMaxSsidBytes = 32;
constexpr unsigned kMaxQuality = 100;

HANDLE ToPlatform(Wlan::Handle client) { return reinterpret_cast<HANDLE>(client); }

// Runs on a thread of the WLAN service's; it touches nothing but the sink.
void CALLBACK OnWlanNotification(PWLAN_NOTIFICATION_DATA, PVOID context)
{
    auto* sink = static_cast<WindowsWlan::Sink*>(context);
    if (!sink)
        return;
    const std::lock_guard lock(sink->mutex);
    if (sink->onNotification)
        sink->onNotification();
}

// The interface list, released when it goes out of scope.
class InterfaceList final {
public:
    explicit InterfaceList(HANDLE client)
    {
        if (WlanEnumInterfaces(client, nullptr, &list_) != ERROR_SUCCESS)
            list_ = nullptr;
    }
    ~InterfaceList()
    {
        if (list_)
            WlanFreeMemory(list_);
    }
    InterfaceList(const InterfaceList&) = delete;
    InterfaceList& operator=(const InterfaceList&) = delete;
    int count() const { return list_ ? static_cast<int>(list_->dwNumberOfItems) : 0; }
    const GUID* first() const { return count() > 0 ? &list_->InterfaceInfo[0].InterfaceGuid : nullptr; }

private:
    PWLAN_INTERFACE_INFO_LIST list_ = nullptr;
};

} // namespace

WindowsWlan::WindowsWlan() : sink_(std::make_unique<Sink>()) { }

WindowsWlan::~WindowsWlan()
{
    // A registration left behind would call into a freed sink.
    for (const Handle client : registered_)
        WlanRegisterNotification(ToPlatform(client), WLAN_NOTIFICATION_SOURCE_NONE, FALSE, nullptr, nullptr, nullptr,
                                 nullptr);
}

std::optional<Wlan::Handle> WindowsWlan::openClient()
{
    DWORD negotiated = 0;
    HANDLE client = nullptr;
    if (WlanOpenHandle(kClientVersion, nullptr, &negotiated, &client) != ERROR_SUCCESS || !client)
        return std::nullopt;
    // Never closed: the program keeps its client handles for the whole run.
    return reinterpret_cast<Handle>(client);
}

void WindowsWlan::registerNotifications(Handle client, std::function<void()> onNotification)
{
    {
        const std::lock_guard lock(sink_->mutex);
        sink_->onNotification = std::move(onNotification);
    }
    if (WlanRegisterNotification(ToPlatform(client), kAllSources, FALSE, OnWlanNotification, sink_.get(), nullptr,
                                 nullptr)
        == ERROR_SUCCESS)
        registered_.insert(client);
}

void WindowsWlan::unregisterNotifications(Handle client)
{
    DWORD previous = 0;
    // Refused for handle 0 or an unknown handle; that is harmless.
    WlanRegisterNotification(ToPlatform(client), WLAN_NOTIFICATION_SOURCE_NONE, FALSE, nullptr, nullptr, nullptr,
                             &previous);
    registered_.erase(client);
    if (registered_.empty()) {
        const std::lock_guard lock(sink_->mutex);
        sink_->onNotification = nullptr;
    }
}

int WindowsWlan::interfaceCount(Handle client) { return InterfaceList(ToPlatform(client)).count(); }

std::vector<WlanNetwork> WindowsWlan::availableNetworks(Handle client)
{
    std::vector<WlanNetwork> result;
    const InterfaceList interfaces(ToPlatform(client));
    const GUID* first = interfaces.first();
    if (!first)
        return result;
    PWLAN_AVAILABLE_NETWORK_LIST networks = nullptr;
    if (WlanGetAvailableNetworkList(ToPlatform(client), first, kIncludeAllManualHiddenProfiles, nullptr, &networks)
        != ERROR_SUCCESS)
        return result;
    // Copied out record by record: the list belongs to the service and is freed below,
    // before the interface list.
    for (DWORD i = 0; i < networks->dwNumberOfItems; ++i) {
        const WLAN_AVAILABLE_NETWORK& network = networks->Network[i];
        const std::size_t length = std::min<std::size_t>(network.dot11Ssid.uSSIDLength, kMaxSsidBytes);
        result.push_back({std::string(reinterpret_cast<const char*>(network.dot11Ssid.ucSSID), length),
                          std::min<unsigned>(network.wlanSignalQuality, kMaxQuality)});
    }
    WlanFreeMemory(networks);
    return result;
}
