#pragma once

#include <QColor>
#include <QString>

#include <optional>

// One operation's part of the status line, kept by the operation itself: its latest text and
// colour, whether it runs, and the moments it started and last spoke, which decide whose
// text the line shows while operations overlap (StatusLine).
class StatusShare final {
public:
    // The operation starts afresh, with no text of its own yet.
    void start();
    void end();
    void show(const QString& text);
    void extend(const QString& more);
    void setColour(const QColor& colour);

    bool running() const { return running_; }
    const std::optional<QString>& text() const { return text_; }
    // Black unless the operation named a colour.
    QColor colour() const { return colour_.value_or(QColor(Qt::black)); }
    // Moments count up across every share of the process, so they order the shares' events.
    int startedAt() const { return startedAt_; }
    int spokeAt() const { return spokeAt_; }

private:
    // A write while the operation does not run counts as its last word.
    void wrote();

    std::optional<QString> text_;
    std::optional<QColor> colour_;
    bool running_ = false;
    int startedAt_ = 0;
    int spokeAt_ = 0;
};
