#include "WindowsAdapterList.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstring>

namespace {

// The platform's fixed-size text fields are NUL-terminated; the bound keeps a field
// that is not from running into the next member.
template <std::size_t N> std::string FieldText(const char (&field)[N])
{
    const void* end = std::memchr(field, '\0', N);
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : N;
    return std::string(field, length);
}

// Retries cover an adapter that appears between the size query and the filling call.
constexpr int kAttempts = 3;

} // namespace

std::optional<std::vector<AdapterInfo>> WindowsAdapterList::adapters()
{
    ULONG size = 0;
    GetAdaptersInfo(nullptr, &size);
    std::vector<IP_ADAPTER_INFO> buffer;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // No size means no adapter or no IP Helper: the caller keeps what it showed before.
        if (size == 0)
            return std::nullopt;
        // Whole records keep the buffer aligned for the structure the links point into.
        buffer.assign((size + sizeof(IP_ADAPTER_INFO) - 1) / sizeof(IP_ADAPTER_INFO), IP_ADAPTER_INFO{});
        ULONG filled = static_cast<ULONG>(buffer.size() * sizeof(IP_ADAPTER_INFO));
        const DWORD result = GetAdaptersInfo(buffer.data(), &filled);
        if (result == ERROR_SUCCESS)
            break;
        if (result != ERROR_BUFFER_OVERFLOW || attempt + 1 == kAttempts)
            return std::nullopt;
        size = filled;
    }

    // The records are walked through their own links: their size differs between
    // 32- and 64-bit builds, and the platform need not lay them out back to back.
    std::vector<AdapterInfo> result;
    for (const IP_ADAPTER_INFO* record = buffer.data(); record; record = record->Next) {
        result.push_back({FieldText(record->Description), FieldText(record->IpAddressList.IpAddress.String),
                          FieldText(record->IpAddressList.IpMask.String),
                          FieldText(record->GatewayList.IpAddress.String), static_cast<int>(record->Index)});
    }
    return result;
}
