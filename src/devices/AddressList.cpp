#include "AddressList.h"

#include "Datagrams.h"
#include "SetupDatagrams.h"

#include "common/AdapterTable.h"
#include "platform/DottedQuad.h"

#include <algorithm>
#include <optional>
#include <set>

namespace AddressList {
namespace {

constexpr int kLongestPrefix = 32;

struct Block {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

struct PartResult {
    std::optional<Block> block;
    std::string refusal;
};

PartResult Refused(std::string_view part, const std::string& why)
{
    return {std::nullopt, "\"" + std::string(part) + "\": " + why};
}

// One to `maxDigits` decimal digits and nothing else.
std::optional<int> SmallNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

const char* const kNotAnAddress = "not an address (four numbers 0-255 joined by \".\")";

PartResult ReadPart(std::string_view part)
{
    const std::size_t slash = part.find('/');
    const std::size_t dash = part.find('-');
    const std::string_view head = part.substr(0, std::min(slash, dash));
    const std::optional<std::uint32_t> address = ParseDottedQuad(std::string(head));
    if (!address)
        return Refused(part, kNotAnAddress);
    Block block{*address, *address};
    if (slash != std::string_view::npos && dash == std::string_view::npos) {
        const std::optional<int> prefix = SmallNumber(part.substr(slash + 1), 2);
        if (!prefix || *prefix > kLongestPrefix)
            return Refused(part, "not a prefix (a number from 22 to 32 after \"/\")");
        if (*prefix < kWidestPrefix)
            return Refused(part, "at most /22 (1,024 addresses)");
        const std::uint32_t hosts = *prefix == kLongestPrefix ? 0
                                                              : (std::uint32_t{1} << (kLongestPrefix - *prefix)) - 1;
        if (*address & hosts)
            return Refused(part,
                           "not the start of a /" + std::to_string(*prefix) + " (that is "
                               + DottedQuadText(*address & ~hosts) + "/" + std::to_string(*prefix) + ")");
        block.last = *address | hosts;
    } else if (dash != std::string_view::npos && slash == std::string_view::npos) {
        const std::optional<int> lastOctet = SmallNumber(part.substr(dash + 1), 3);
        if (!lastOctet || *lastOctet > 255)
            return Refused(part, "a range ends with a last octet 0-255 (\"10.4.0.10-40\")");
        if (static_cast<std::uint32_t>(*lastOctet) < (*address & 0xff))
            return Refused(part, "the range runs backwards");
        block.last = (*address & ~std::uint32_t{0xff}) | static_cast<std::uint32_t>(*lastOctet);
    } else if (slash != std::string_view::npos || dash != std::string_view::npos) {
        return Refused(part, kNotAnAddress);
    }
    // A block or range never leaves its /8, so its first address stands for all of them.
    const TavikSetup::Octets octets{static_cast<std::uint8_t>(block.first >> 24), 0, 0, 0};
    if (TavikSetup::SettingThatCutsOff(TavikDatagram::Port, octets) == TavikSetup::CutOffSetting::Address)
        return Refused(part, "no device can be reached there (0.x.x.x, 127.x.x.x, 224.0.0.0 and above)");
    return {block, {}};
}

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string RangeText(std::uint32_t first, std::uint32_t last)
{
    if (first == last)
        return DottedQuadText(first);
    return DottedQuadText(first) + "-" + std::to_string(last & 0xff);
}

} // namespace

Parsed Parse(std::string_view text)
{
    std::set<std::uint32_t> addresses;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (IsSeparator(text[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !IsSeparator(text[end]))
            ++end;
        const PartResult part = ReadPart(text.substr(pos, end - pos));
        if (!part.block)
            return {false, {}, part.refusal};
        // Counted after each part, so that an entry can never grow a huge set.
        for (std::uint32_t a = part.block->first;; ++a) {
            addresses.insert(a);
            if (addresses.size() > kMaxAddresses)
                return {false, {}, "more than 1,024 addresses"};
            if (a == part.block->last)
                break;
        }
        pos = end;
    }
    return {true, {addresses.begin(), addresses.end()}, {}};
}

std::vector<std::uint32_t> OffEveryAdapterSubnet(const std::vector<std::uint32_t>& addresses,
                                                 const std::vector<NicRecord>& nics)
{
    std::vector<std::uint32_t> off;
    for (std::uint32_t address : addresses) {
        const std::string text = DottedQuadText(address);
        if (std::none_of(nics.begin(), nics.end(),
                         [&](const NicRecord& nic) { return OnSameSubnet(text, nic.ip, nic.subnet); }))
            off.push_back(address);
    }
    return off;
}

std::string CanonicalText(const std::vector<std::uint32_t>& sortedAddresses)
{
    const std::vector<std::uint32_t>& a = sortedAddresses;
    std::string text;
    std::size_t i = 0;
    while (i < a.size()) {
        std::string part;
        // Whole aligned blocks of 256 to 1,024 addresses read best as CIDR.
        for (int prefix = kWidestPrefix; prefix <= 24 && part.empty(); ++prefix) {
            const std::size_t size = std::size_t{1} << (kLongestPrefix - prefix);
            if (a[i] % size == 0 && i + size <= a.size() && a[i + size - 1] == a[i] + (size - 1)) {
                part = DottedQuadText(a[i]) + "/" + std::to_string(prefix);
                i += size;
            }
        }
        if (part.empty()) {
            std::size_t end = i + 1;
            while (end < a.size() && a[end] == a[end - 1] + 1 && (a[end] >> 8) == (a[i] >> 8))
                ++end;
            part = RangeText(a[i], a[end - 1]);
            i = end;
        }
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

} // namespace AddressList
