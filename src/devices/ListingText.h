#pragma once

#include "ServerBlock.h"
#include "SubstringIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a search has listed, as bytes: the replies exactly as received, each after its heading
// line, with CR LF as two characters. Selection reads it by character positions, and whether
// a MAC is listed is whether it occurs anywhere in it. Appending costs in proportion to what
// is appended, and asking about a MAC costs the length of the MAC, not of the text.
class ListingText final {
public:
    const std::string& text() const { return text_; }
    // Replaces the whole text (a message in place of the list); no reply is listed after it.
    void setText(std::string_view text);
    void append(std::string_view text);
    // Appends one listed reply after the lines that precede it (its heading), with the
    // interface it arrived on and the address it came from; the reply ends where the next
    // entry begins.
    void appendEntry(std::string_view lead, std::string_view reply, int heardOnInterface,
                     std::string_view senderAddress = {});

    // The 1-based first positions of the listed replies, ascending.
    const std::vector<std::size_t>& replyFirsts() const { return replyFirsts_; }
    // Where listed reply `index` stands: from its first character to the character before
    // the next entry, or to the end of the text.
    ReplySpan reply(std::size_t index) const;
    // The interface listed reply `index` arrived on (-1 when the system did not say).
    int heardOnInterface(std::size_t index) const { return heardOn_[index]; }
    // The address listed reply `index` came from (dotted; empty when not known).
    const std::string& senderAddress(std::size_t index) const { return senders_[index]; }
    // Whether what occurs anywhere in the text (the empty text always does).
    bool contains(std::string_view what) const { return index_.contains(text_, what); }
    // Counts every setText(): a view that showed an earlier text shows this one anew.
    std::uint64_t replacements() const { return replacements_; }

private:
    std::string text_;
    std::vector<std::size_t> entryStarts_; // 1-based, ascending; cleared with the text
    std::vector<std::size_t> replyFirsts_; // the same entries' replies, after their headings
    std::vector<int> heardOn_;             // the same entries' interfaces
    std::vector<std::string> senders_;     // and the addresses they came from
    mutable SubstringIndex index_;         // a cache: built per length as lengths are asked for
    std::uint64_t replacements_ = 0;
};

struct DeviceReply;

// The listed reply of the device with this MAC, read; nothing when none is listed.
std::optional<DeviceReply> ListedReplyOf(const ListingText& listing, std::string_view mac);
