#include "DottedQuad.h"

std::optional<std::uint32_t> ParseDottedQuad(const std::string& text)
{
    std::uint32_t address = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return std::nullopt;
            ++pos;
        }
        int value = 0;
        int digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
            value = value * 10 + (text[pos] - '0');
            ++digits;
            ++pos;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return std::nullopt;
        address = (address << 8) | static_cast<std::uint32_t>(value);
    }
    if (pos != text.size())
        return std::nullopt;
    return address;
}

std::string DottedQuadText(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xff) + '.'
        + std::to_string((address >> 8) & 0xff) + '.' + std::to_string(address & 0xff);
}

bool OnSameSubnet(const std::string& address, const std::string& other, const std::string& mask)
{
    const auto a = ParseDottedQuad(address);
    const auto b = ParseDottedQuad(other);
    const auto m = ParseDottedQuad(mask);
    return a && b && m && *m != 0 && (*a & *m) == (*b & *m);
}

std::optional<int> MaskPrefixLength(const std::string& mask)
{
    const auto m = ParseDottedQuad(mask);
    if (!m)
        return std::nullopt;
    int ones = 0;
    while (ones < 32 && (*m & (0x80000000u >> ones)))
        ++ones;
    const std::uint32_t expected = ones == 0 ? 0 : 0xFFFFFFFFu << (32 - ones);
    if (*m != expected)
        return std::nullopt;
    return ones;
}
