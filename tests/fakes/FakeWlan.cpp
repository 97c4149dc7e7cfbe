#include "FakeWlan.h"

std::optional<Wlan::Handle> FakeWlan::openClient()
{
    calls.push_back("open");
    return opens ? std::optional<Handle>(nextHandle_++) : std::nullopt;
}

void FakeWlan::registerNotifications(Handle client, std::function<void()>)
{
    calls.push_back("register " + std::to_string(client));
}

void FakeWlan::unregisterNotifications(Handle client) { calls.push_back("unregister " + std::to_string(client)); }

int FakeWlan::interfaceCount(Handle client)
{
    calls.push_back("interfaces " + std::to_string(client));
    return interfaces;
}

std::vector<WlanNetwork> FakeWlan::availableNetworks(Handle client)
{
    calls.push_back("networks " + std::to_string(client));
    return networks;
}
