#pragma once

#include "SubstringIndex.h"

#include <string>
#include <string_view>

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
    void showPending();
    // Whether what occurs anywhere in the text (the empty text always does).
    bool contains(std::string_view what) { return index_.contains(text_, what); }

    // Number of characters of the text before the widget's caret (selection start).
    std::size_t caretPosition() const;

private:
    // Display form of a piece of text: CR LF, lone CR and lone LF become one line break.
    QString display(std::string_view piece, bool& pendingCr) const;

    QPlainTextEdit& view_;
    std::string text_;
    SubstringIndex index_;
    std::size_t shownUpTo_ = 0; // bytes of text_ the widget shows
    bool endsWithCr_ = false; // a CR at the end may pair with an LF appended later
};
