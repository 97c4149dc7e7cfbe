#pragma once

#include "SubstringIndex.h"

#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QPlainTextEdit;

// The text of txtServers. The exact text (replies as received, CR LF as two
// characters) is what selection reads by character positions, so it is kept here
// as bytes; the widget shows it with its own line separators. Appending costs in
// proportion to what is appended, and asking whether a MAC is listed costs the
// length of the MAC, not of the list.
class ServerList final {
public:
    explicit ServerList(QPlainTextEdit& view);

    const std::string& text() const { return text_; }
    void setText(std::string_view text);
    // Appends to the text and the widget.
    void append(std::string_view text);
    // Appends to the text only; the widget shows it at the next showPending(), so that a
    // batch of replies costs one widget insert.
    void appendQuietly(std::string_view text);
    // Appends one listed reply with what precedes it, quietly as above; the entry ends
    // where the next one begins.
    void appendEntry(std::string_view entry);
    void showPending();
    // The 1-based position of the last character of the entry holding `position`: the
    // character before the next entry, or the end of the text.
    std::size_t entryEnd(std::size_t position) const;
    // Whether what occurs anywhere in the text (the empty text always does).
    bool contains(std::string_view what) const { return index_.contains(text_, what); }

    // Number of characters of the text before the widget's caret (selection start).
    std::size_t caretPosition() const;
    // Highlights the lines of the block whose "Host Name" label stands at hostName
    // (1-based) down to the next block's heading; 0 removes the highlight.
    void markBlock(std::size_t hostName);

private:
    // Display form of a piece of text: CR LF, lone CR and lone LF become one line break.
    QString display(std::string_view piece, bool& pendingCr) const;
    // Number of characters the widget shows for the first `count` bytes of the text.
    int shownLength(std::size_t count) const;

    QPlainTextEdit& view_;
    std::string text_;
    std::vector<std::size_t> entryStarts_; // 1-based, ascending; cleared with the text
    mutable SubstringIndex index_;         // a cache: built per length as lengths are asked for
    std::size_t shownUpTo_ = 0;            // bytes of text_ the widget shows
    bool endsWithCr_ = false;              // a CR at the end may pair with an LF appended later
};
