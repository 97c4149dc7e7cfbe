#include "ServerBlock.h"

#include "common/LeadingNumber.h"
#include "common/TextPos.h"

#include <algorithm>

namespace {
// A click up to here still reads the first block, so its heading selects it.
constexpr std::size_t kFirstBlockReach = 30;
// The ":" that ends a value is searched this far behind each label, whatever its length.
constexpr std::size_t kColonSearchOffset = 13;
// Each value begins after its label and the device's three separator characters.
constexpr std::size_t kSeparatorLength = 3;

// The block's own text, and searches that see nothing beyond it.
class BlockText {
public:
    BlockText(std::string_view listText, ReplySpan block)
        : text_(listText.substr(0, std::min(block.last, listText.size()))), first_(block.first)
    { }

    // The 1-based position of what at or after from, inside the block; 0 if none.
    std::size_t find(std::string_view what, std::size_t from) const
    {
        return InStr(std::max(from, first_), text_, what);
    }
    std::string mid(std::size_t start, std::size_t count) const { return Mid(text_, start, count); }
    // The 1-based position just past the end of the line holding position.
    std::size_t lineEnd(std::size_t position) const
    {
        const std::size_t end = text_.find_first_of("\r\n", position - 1);
        return end == std::string_view::npos ? text_.size() + 1 : end + 1;
    }
    std::size_t end() const { return text_.size() + 1; }

private:
    std::string_view text_;
    std::size_t first_;
};

// A row value: from valueStart to the ":" searched 13 characters after the label, less the
// 13 (so the mask keeps its ":" and the gateway ends three characters early, which the
// boxes do not show), and never beyond its own line. With no ":" after it the value runs
// to the end of its line.
std::string RowValue(const BlockText& block, std::size_t label, std::size_t valueStart)
{
    const std::size_t lineEnd = block.lineEnd(valueStart);
    const std::size_t colon = block.find(":", label + kColonSearchOffset);
    std::size_t end = lineEnd;
    if (colon != 0)
        end = std::min(lineEnd, valueStart + (colon - label - kColonSearchOffset));
    return end > valueStart ? block.mid(valueStart, end - valueStart) : std::string();
}
} // namespace

std::array<std::string, 4> AddressPieces(std::string_view address, std::size_t& count)
{
    std::array<std::string, 4> pieces;
    count = 0;
    std::size_t start = 0;
    while (count < pieces.size()) {
        const std::size_t dot = address.find('.', start);
        std::string_view piece = address.substr(start, dot == std::string_view::npos ? dot : dot - start);
        // A line break after the last octet is invisible in the box but would have to
        // be deleted by hand; the piece ends there.
        piece = piece.substr(0, piece.find_first_of("\r\n"));
        pieces[count++] = std::string(piece);
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return pieces;
}

std::optional<ServerBlockValues> ReadServerBlock(std::string_view listText, ReplySpan block)
{
    const BlockText text(listText, block);
    std::size_t p = text.find("MAC Address", block.first);
    if (p == 0)
        return std::nullopt;
    ServerBlockValues values;
    values.mac = text.mid(p + std::string_view("MAC Address").size() + kSeparatorLength, 17);

    const auto next = [&](std::string_view label) {
        const std::size_t found = text.find(label, p);
        if (found != 0)
            p = found;
        return found;
    };
    if (const std::size_t assignment = next("IP Assignment"))
        values.dhcp = text.mid(assignment + 16, 4) == "DHCP";

    if (const std::size_t address = next("IP Address")) {
        const std::size_t valueStart = address + 13;
        const std::size_t lineEnd = text.lineEnd(valueStart);
        const std::size_t colon = text.find(":", address + kColonSearchOffset);
        if (colon != 0 && colon < lineEnd) {
            values.address = text.mid(valueStart, colon > valueStart ? colon - valueStart : 0);
            values.port = LeadingNumber(text.mid(colon + 1, text.end() - colon - 1));
        } else {
            // No port on the address's line: the address alone, and no port to show.
            values.address = text.mid(valueStart, lineEnd > valueStart ? lineEnd - valueStart : 0);
        }
    }

    for (std::size_t row = 0; row < kRowLabels.size(); ++row) {
        const std::string_view label = kRowLabels[row];
        if (const std::size_t found = next(label))
            values.rows[row] = RowValue(text, found, found + label.size() + kSeparatorLength);
    }
    return values;
}

std::optional<std::size_t> ReplyAtCaret(const std::vector<std::size_t>& replyFirsts, std::size_t caret)
{
    if (caret == 0 || replyFirsts.empty())
        return std::nullopt;
    // A caret before a reply's first character stands at the start of that reply's line.
    const auto after = std::upper_bound(replyFirsts.begin(), replyFirsts.end(), caret + 1);
    if (after != replyFirsts.begin())
        return static_cast<std::size_t>(after - replyFirsts.begin() - 1);
    if (replyFirsts.front() < kFirstBlockReach)
        return 0;
    return std::nullopt;
}
