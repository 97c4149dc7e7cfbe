#include "FakeWlan.h"

std::optional<Wlan::Handle> FakeWlan::openClient()
{
    calls.push_back("open");
    if (!opens)
        return std::nullopt;
    return nextHandle++;
}

void FakeWlan::registerNotifications(Handle client, std::function<void()> onNotification)
{
    calls.push_back("register " + std::to_string(client));
    registeredCallback = std::move(onNotification);
}

void FakeWlan::unregisterNotifications(Handle client)
{
    calls.push_back("unregister " + std::to_string(client));
    registeredCallback = nullptr;
}

int FakeWlan::interfaceCount(Handle client)
{
    calls.push_back("interfaces " + std::to_string(client));
    return interfaces;
}

std::vector<WlanNetwork> FakeWlan::availableNetworks(Handle client)
{
    calls.push_back("networks " + std::to_string(client));
    if (whileListing)
        whileListing();
    return networks;
}
