#include "ConnectReadiness.h"

#include "common/LeadingNumber.h"

bool ConnectReady(std::string_view ssid, std::string_view suggestedIp, std::string_view suggestedMask,
                  std::string_view suggestedGateway, std::string_view port)
{
    const double portValue = LeadingNumber(port);
    return !ssid.empty() && !suggestedIp.empty() && !suggestedMask.empty() && !suggestedGateway.empty() && portValue > 0
        && portValue <= 65535;
}
