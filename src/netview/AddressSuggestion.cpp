#include "AddressSuggestion.h"

#include "common/TextPos.h"

namespace {
constexpr std::string_view kDeviceHostPart = "125";
}

std::string SuggestedDeviceAddress(std::string_view adapterAddress)
{
    // A search that finds nothing resets the position to 0, so the next search
    // starts over at the beginning; that is what makes "10.1" give "10.125".
    std::size_t thirdDot = 0;
    for (int dot = 0; dot < 3; ++dot)
        thirdDot = InStr(thirdDot + 1, adapterAddress, ".");
    return Mid(adapterAddress, 1, thirdDot) + std::string(kDeviceHostPart);
}
