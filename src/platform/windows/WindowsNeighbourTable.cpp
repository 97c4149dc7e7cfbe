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

using ResolveIpNetEntry2Function = decltype(&ResolveIpNetEntry2);

// Looked up at run time rather than linked: a missing export must not stop the program from
// loading, and the table still answers without it.
ResolveIpNetEntry2Function LookUpResolveIpNetEntry2()
{
    const HMODULE iphlpapi = GetModuleHandleW(L"iphlpapi.dll");
    const FARPROC found = iphlpapi ? GetProcAddress(iphlpapi, "ResolveIpNetEntry2") : nullptr;
    return reinterpret_cast<ResolveIpNetEntry2Function>(reinterpret_cast<void*>(found));
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

NeighbourTable::Resolution WindowsNeighbourTable::resolveNow(const std::string& dottedAddress, int interfaceIndex)
{
    static const ResolveIpNetEntry2Function resolve = LookUpResolveIpNetEntry2();
    const auto target = ParseDottedQuad(dottedAddress);
    if (!resolve || !target || interfaceIndex <= 0)
        return Resolution::Unknown;
    MIB_IPNET_ROW2 row{};
    row.InterfaceIndex = static_cast<NET_IFINDEX>(interfaceIndex);
    row.Address.Ipv4.sin_family = AF_INET;
    row.Address.Ipv4.sin_addr.s_addr = htonl(*target);
    switch (resolve(&row, nullptr)) {
    case NO_ERROR:
        if (IsResolved(row.State) && HasNonZeroAddress(row))
            return Resolution::Answered;
        return row.State == NlnsUnreachable || row.State == NlnsIncomplete ? Resolution::Unanswered
                                                                           : Resolution::Unknown;
    case ERROR_BAD_NET_NAME: // the requests went out and nobody answered
        return Resolution::Unanswered;
    default: // not implemented, not supported, refused, no such interface
        return Resolution::Unknown;
    }
}
