#include "SetupApVariant.h"

namespace {
SetupApVariant MakeVariant(const std::string& ssid, const std::string& pingAddress, bool opensPortal)
{
    return {ssid,
            "Trying to connect to " + ssid,
            "Try to connect to " + ssid + ". Waiting for a correct ping...",
            "NOT Connected to " + ssid,
            pingAddress,
            opensPortal};
}
} // namespace

const SetupApVariant& SetupApVariantFor(bool useCurrentSetupAp)
{
    static const SetupApVariant current = MakeVariant(kCurrentSetupSsid, "8.8.8.8", true);
    static const SetupApVariant old = MakeVariant(kOldSetupSsid, "192.168.4.1", false);
    return useCurrentSetupAp ? current : old;
}
