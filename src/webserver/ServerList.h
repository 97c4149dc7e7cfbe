#pragma once

#include "devices/ListingText.h"

#include <optional>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QPlainTextEdit;

// txtServers, showing what the search has listed (the search's ListingText, which keeps the
// exact bytes that selection reads by character positions) with the widget's own line
// separators. Only what was added since the last showing goes into the widget, so that a
// batch of replies costs one widget insert.
class ServerList final {
public:
    ServerList(QPlainTextEdit& view, ListingText& listing);

    const std::string& text() const { return listing_.text(); }
    const ListingText& listing() const { return listing_; }
    // What the list says of itself beyond its text.
    void setToolTip(const QString& tip);
    // Shows what the listing gained since it was last shown, or all of it anew when it was
    // replaced since.
    void showPending();
    const std::vector<std::size_t>& replyFirsts() const { return listing_.replyFirsts(); }
    ReplySpan reply(std::size_t index) const { return listing_.reply(index); }
    int heardOnInterface(std::size_t index) const { return listing_.heardOnInterface(index); }
    const std::string& senderAddress(std::size_t index) const { return listing_.senderAddress(index); }
    bool contains(std::string_view what) const { return listing_.contains(what); }

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
    ListingText& listing_;
    std::uint64_t shownReplacement_ = 0; // the listing's replacement the widget shows
    std::size_t shownUpTo_ = 0;          // bytes of the text the widget shows
    bool endsWithCr_ = false;            // a CR at the end may pair with an LF appended later
};
