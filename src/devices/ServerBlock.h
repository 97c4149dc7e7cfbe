#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a listed reply back out of the server list text, by the positions of its labels.
// A block is one listed reply, from its first character to its last: the heading and the
// blank lines above a reply belong to the reply above it.

// One listed reply's place in the list text: 1-based, both ends included.
struct ReplySpan {
    std::size_t first = 0;
    std::size_t last = 0;
};

// What a block holds. A value the block does not hold stays empty, so that nothing of
// another device can stand in for it.
struct ServerBlockValues {
    std::string mac;                    // the 17 characters after "MAC Address" and its separator
    std::optional<bool> dhcp;           // "IP Assignment": DHCP, or a fixed address
    std::optional<std::string> address; // "IP Address" up to the ":" before the port
    std::optional<double> port;         // the number after that ":" (0 when none follows it)
    // The texts for the mask, gateway and DNS rows of octet boxes.
    std::array<std::optional<std::string>, 3> rows;

    bool operator==(const ServerBlockValues&) const = default;
};

// The labels of a block in the order the devices send them, and the rows they fill.
inline constexpr std::array<std::string_view, 3> kRowLabels{"SubNet Mask", "Gateway", "DNS Server"};

// The block's values; nothing when it has no "MAC Address" label, the one label every
// listed reply carries. Labels are looked for inside the block only, each after the one
// before it that was found; a missing label leaves its value empty and the reading goes on.
std::optional<ServerBlockValues> ReadServerBlock(std::string_view listText, ReplySpan block);

// Pieces of a dotted address as they go into one row of octet boxes: cut at every
// ".", at most four, each ending before its first line break.
std::array<std::string, 4> AddressPieces(std::string_view address, std::size_t& count);

// The index of the reply a caret selects, given the 1-based first positions of the listed
// replies in ascending order and the number of characters before the caret: the last reply
// that begins at or before the caret's line position, or the first one for a click on its
// own heading. Nothing for a caret at the very start of the text or a list of no replies.
std::optional<std::size_t> ReplyAtCaret(const std::vector<std::size_t>& replyFirsts, std::size_t caret);
