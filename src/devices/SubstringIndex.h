#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Answers "does this short text occur anywhere in the list text?" in time that depends
// on the short text only, however long the list grows. For every length asked so far it
// keeps the set of distinct windows of that length (by their positions in the text) and
// adds the windows that an append creates. Texts longer than kLongestIndexed are
// searched the plain way; the MACs asked for are at most 17 characters.
class SubstringIndex final {
public:
    static constexpr std::size_t kLongestIndexed = 17;

    SubstringIndex();
    ~SubstringIndex();

    // The owner's text was replaced: forget every window.
    void reset();
    // text is the owner's whole text after an append; windows ending in the new part are
    // added to every length that is being kept.
    void extend(const std::string& text);
    bool contains(const std::string& text, std::string_view what);

private:
    class WindowSet;
    std::array<std::unique_ptr<WindowSet>, kLongestIndexed + 1> sets_;
    std::uint64_t seed_;
};
