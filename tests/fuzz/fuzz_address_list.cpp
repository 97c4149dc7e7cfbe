// Any entry through the address list reader: refused with a reason, or at most 1,024 sorted addresses,
// each once, each one a device can be reached at, and its stored text reads back as the same list.
#include "Check.h"

#include "devices/AddressList.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view entry(reinterpret_cast<const char*>(data), size);
    const AddressList::Parsed parsed = AddressList::Parse(entry);
    if (!parsed.accepted) {
        Check(!parsed.refusal.empty() && parsed.addresses.empty());
        return 0;
    }
    const std::vector<std::uint32_t>& a = parsed.addresses;
    Check(parsed.refusal.empty() && a.size() <= AddressList::kMaxAddresses
          && std::adjacent_find(a.begin(), a.end(), std::greater_equal<>()) == a.end());
    const auto unreachable = [](std::uint32_t address) {
        return address >> 24 == 0 || address >> 24 == 127 || address >> 24 >= 224;
    };
    Check(std::ranges::none_of(a, unreachable) && AddressList::Parse(AddressList::CanonicalText(a)).addresses == a);
    return 0;
}
