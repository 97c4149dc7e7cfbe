#include "WindowsNeighbourTable.h"

#include "platform/DottedQuad.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

bool WindowsNeighbourTable::hasLinkLayerAddress(const std::string& dottedAddress)
{
    // inet_addr would turn a typing slip into 255.255.255.255.
    const auto target = ParseDottedQuad(dottedAddress);
    if (!target)
        return false;
    ULONG hardware[2] = {};
    ULONG length = 6;
    if (SendARP(htonl(*target), 0, hardware, &length) != NO_ERROR || length == 0)
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(hardware);
    for (ULONG i = 0; i < length && i < 6; ++i)
        if (bytes[i] != 0)
            return true;
    return false;
}
