#pragma once

#include <string_view>

// cmdWiFiConnect may be used exactly when the gateway's network name and the first
// three suggested values are filled and the port is a usable port number.
// The key and the DNS suggestion play no part.
bool ConnectReady(std::string_view ssid, std::string_view suggestedIp, std::string_view suggestedMask,
                  std::string_view suggestedGateway, std::string_view port);
