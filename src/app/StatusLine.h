#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <optional>

// Who writes the status line: the three operations, and a click's selection, which runs none.
enum class StatusSource { Search, Command, Gateway, Selection };

// The one status line under overlapping operations. Each source writes its own text and
// colour; the line shows the latest text of the most recently started operation that still
// runs (one that has written nothing yet gives way to the next). When none runs, the text of
// the source that spoke last stays: the final text of the operation that ended last, or a
// selection's since. So a search's dots extend only the search's text, and a search ending
// under a running gateway sequence does not cover the sequence's texts or colours.
class StatusLine final {
public:
    // An operation starts afresh, with no text of its own yet.
    void started(StatusSource source);
    void ended(StatusSource source);
    void show(StatusSource source, const QString& text);
    void extend(StatusSource source, const QString& more);
    void setColour(StatusSource source, const QColor& colour);

    QString text() const;
    // Nothing until a source has written: the label keeps its own colour.
    std::optional<QColor> colour() const;

private:
    struct Entry {
        std::optional<QString> text;
        std::optional<QColor> colour; // black unless the source named one
        bool running = false;
        int startedAt = 0; // the moment it started, while it runs
        int spokeAt = 0;   // the moment it ended or last wrote while not running
    };
    Entry& entry(StatusSource source) { return entries_[static_cast<std::size_t>(source)]; }
    // A write by a source that does not run counts as its last word.
    void wrote(Entry& written);
    const Entry* shown() const;

    std::array<Entry, 4> entries_;
    int moments_ = 0;
};
