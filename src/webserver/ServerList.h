#pragma once

#include "devices/ServerBlock.h"
#include "SubstringIndex.h"

#include <optional>

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
    // Appends one listed reply after the lines that precede it (its heading), quietly as
    // above, with the interface it arrived on; the reply ends where the next entry begins.
    void appendEntry(std::string_view lead, std::string_view reply, int heardOnInterface);
    void showPending();
    // The 1-based first positions of the listed replies, ascending.
    const std::vector<std::size_t>& replyFirsts() const { return replyFirsts_; }
    // Where listed reply `index` stands: from its first character to the character before
    // the next entry, or to the end of the text.
    ReplySpan reply(std::size_t index) const;
    // The interface listed reply `index` arrived on (-1 when the system did not say).
    int heardOnInterface(std::size_t index) const { return heardOn_[index]; }
    // Whether what occurs anywhere in the text (the empty text always does).
    bool contains(std::string_view what) const { return index_.contains(text_, what); }

    // Number of characters of the text before the widget's caret (selection start).
    std::size_t caretPosition() const;
    // Highlights the lines of a listed reply, from its first line to its last; nothing
    // removes the highlight.
    void markBlock(std::optional<ReplySpan> block);

private:
    // Display form of a piece of text: CR LF, lone CR and lone LF become one line break.
    QString display(std::string_view piece, bool& pendingCr) const;
    // Number of characters the widget shows for the first `count` bytes of the text.
    int shownLength(std::size_t count) const;

    QPlainTextEdit& view_;
    std::string text_;
    std::vector<std::size_t> entryStarts_; // 1-based, ascending; cleared with the text
    std::vector<std::size_t> replyFirsts_; // the same entries' replies, after their headings
    std::vector<int> heardOn_;             // the same entries' interfaces
    mutable SubstringIndex index_;         // a cache: built per length as lengths are asked for
    std::size_t shownUpTo_ = 0;            // bytes of text_ the widget shows
    bool endsWithCr_ = false;              // a CR at the end may pair with an LF appended later
};
