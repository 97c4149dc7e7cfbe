#include "NicRecords.h"

#include "common/AdapterTable.h"

namespace {
constexpr std::size_t kNameWidth = 41;
constexpr std::size_t kAddressWidth = 15;
} // namespace

std::string FieldWindow(std::string_view raw, std::size_t width)
{
    std::string text;
    for (char c : raw.substr(0, width))
        if (static_cast<unsigned char>(c) >= 32)
            text += c;
    return text;
}

bool AdapterQualifies(const AdapterInfo& adapter)
{
    return adapter.ipAddress.empty() || adapter.ipAddress.front() != '0';
}

NicRecord ToNicRecord(const AdapterInfo& adapter)
{
    return {FieldWindow(adapter.description, kNameWidth), FieldWindow(adapter.ipAddress, kAddressWidth),
            FieldWindow(adapter.ipMask, kAddressWidth), FieldWindow(adapter.gateway, kAddressWidth),
            adapter.interfaceIndex};
}
