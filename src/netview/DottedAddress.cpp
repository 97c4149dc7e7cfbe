#include "DottedAddress.h"

#include <cctype>

namespace {

// One octet: 1 to 3 decimal digits with a value of at most 255.
std::optional<int> OctetValue(std::string_view part)
{
    if (part.empty() || part.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : part) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> NormalizedDottedIPv4(std::string_view text)
{
    std::string normalized;
    for (int octet = 0; octet < 4; ++octet) {
        const std::size_t dot = text.find('.');
        const bool last = octet == 3;
        // The first three octets must end in a dot; the last one must not.
        if (last != (dot == std::string_view::npos))
            return std::nullopt;
        const auto value = OctetValue(text.substr(0, dot));
        if (!value)
            return std::nullopt;
        normalized += std::to_string(*value);
        if (!last) {
            normalized += '.';
            text.remove_prefix(dot + 1);
        }
    }
    return normalized;
}
