#include "StatusShare.h"

namespace {
// The window's operations all run on its thread.
int NextMoment()
{
    static int moments = 0;
    return ++moments;
}
} // namespace

void StatusShare::start()
{
    *this = StatusShare{};
    running_ = true;
    startedAt_ = NextMoment();
}

void StatusShare::end()
{
    running_ = false;
    spokeAt_ = NextMoment();
}

void StatusShare::show(const QString& text)
{
    text_ = text;
    wrote();
}

void StatusShare::extend(const QString& more)
{
    text_ = text_.value_or(QString()) + more;
    wrote();
}

void StatusShare::setColour(const QColor& colour)
{
    colour_ = colour;
    wrote();
}

void StatusShare::wrote()
{
    if (!running_)
        spokeAt_ = NextMoment();
}
