#include "StatusLine.h"

void StatusLine::started(StatusSource source)
{
    Entry& e = entry(source);
    e = Entry{};
    e.running = true;
    e.startedAt = ++moments_;
}

void StatusLine::ended(StatusSource source)
{
    Entry& e = entry(source);
    e.running = false;
    e.spokeAt = ++moments_;
}

void StatusLine::show(StatusSource source, const QString& text)
{
    Entry& e = entry(source);
    e.text = text;
    wrote(e);
}

void StatusLine::extend(StatusSource source, const QString& more)
{
    Entry& e = entry(source);
    e.text = e.text.value_or(QString()) + more;
    wrote(e);
}

void StatusLine::setColour(StatusSource source, const QColor& colour)
{
    Entry& e = entry(source);
    e.colour = colour;
    wrote(e);
}

void StatusLine::wrote(Entry& written)
{
    if (!written.running)
        written.spokeAt = ++moments_;
}

const StatusLine::Entry* StatusLine::shown() const
{
    const Entry* latestRunning = nullptr;
    const Entry* lastWord = nullptr;
    for (const Entry& e : entries_) {
        if (!e.text)
            continue;
        if (e.running) {
            if (!latestRunning || e.startedAt > latestRunning->startedAt)
                latestRunning = &e;
        } else if (e.spokeAt > 0 && (!lastWord || e.spokeAt > lastWord->spokeAt)) {
            lastWord = &e;
        }
    }
    return latestRunning ? latestRunning : lastWord;
}

QString StatusLine::text() const
{
    const Entry* e = shown();
    return e ? *e->text : QString();
}

std::optional<QColor> StatusLine::colour() const
{
    const Entry* e = shown();
    if (!e)
        return std::nullopt;
    return e->colour.value_or(QColor(Qt::black));
}
