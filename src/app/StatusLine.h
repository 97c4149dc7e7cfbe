#pragma once

#include <QColor>
#include <QString>

#include <initializer_list>
#include <optional>

class StatusShare;

// The one status line under overlapping operations, read off the operations' own shares: it
// shows the latest text of the most recently started operation that still runs (one that has
// written nothing yet gives way to the next). When none runs, the text of the share that
// spoke last stays: the final text of the operation that ended last, or a selection's since.
// So a search's dots extend only the search's text, and a search ending under a running
// gateway sequence does not cover the sequence's texts or colours.
namespace StatusLine {
struct Shown {
    QString text;
    // None until a share has written: the label keeps its own colour.
    std::optional<QColor> colour;
};
Shown Of(std::initializer_list<const StatusShare*> shares);
} // namespace StatusLine
