// Any entry through the reader of the addresses to search: it is refused with a reason, or it
// gives at most 1,024 sorted addresses, each once and each one a device can be reached at, and
// the text they are stored as reads back as the same list.
#include "devices/AddressSpec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view entry(reinterpret_cast<const char*>(data), size);
    const AddressSpec::Parsed parsed = AddressSpec::Parse(entry);
    if (!parsed.accepted) {
        if (parsed.refusal.empty() || !parsed.addresses.empty())
            std::abort();
        return 0;
    }
    const std::vector<std::uint32_t>& a = parsed.addresses;
    if (!parsed.refusal.empty() || a.size() > AddressSpec::kMaxAddresses
        || std::adjacent_find(a.begin(), a.end(), std::greater_equal<>()) != a.end())
        std::abort();
    for (const std::uint32_t address : a) {
        const std::uint32_t first = address >> 24;
        if (first == 0 || first == 127 || first >= 224)
            std::abort();
    }
    if (AddressSpec::Parse(AddressSpec::CanonicalText(a)).addresses != a)
        std::abort();
    return 0;
}
