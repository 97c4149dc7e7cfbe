#include "WindowsNeighbourTable.h"

#include "platform/DottedQuad.h"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

namespace {

// States in which the system holds a link-layer address that someone answered for.
bool IsResolved(NL_NEIGHBOR_STATE state)
{
    return state == NlnsReachable || state == NlnsStale || state == NlnsDelay || state == NlnsProbe
        || state == NlnsPermanent;
}

bool HasNonZeroAddress(const MIB_IPNET_ROW2& row)
{
    for (ULONG i = 0; i < row.PhysicalAddressLength && i < IF_MAX_PHYS_ADDRESS_LENGTH; ++i)
        if (row.PhysicalAddress[i] != 0)
            return true;
    return false;
}

} // namespace

bool WindowsNeighbourTable::hasLinkLayerAddress(const std::string& dottedAddress)
{
    // inet_addr would turn a typing slip into 255.255.255.255.
    const auto target = ParseDottedQuad(dottedAddress);
    if (!target)
        return false;
    PMIB_IPNET_TABLE2 table = nullptr;
    if (GetIpNetTable2(AF_INET, &table) != NO_ERROR || !table)
        return false;
    bool found = false;
    for (ULONG i = 0; i < table->NumEntries && !found; ++i) {
        const MIB_IPNET_ROW2& row = table->Table[i];
        found = row.Address.si_family == AF_INET && row.Address.Ipv4.sin_addr.s_addr == htonl(*target)
            && IsResolved(row.State) && HasNonZeroAddress(row);
    }
    FreeMibTable(table);
    return found;
}
