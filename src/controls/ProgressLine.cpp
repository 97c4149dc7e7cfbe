#include "ProgressLine.h"

#include <QLabel>
#include <QPalette>

void ProgressLine::show(const QString& text)
{
    text_ = text;
    label_.setText(text);
}

void ProgressLine::setColour(const QColor& colour)
{
    QPalette palette = label_.palette();
    palette.setColor(QPalette::WindowText, colour);
    label_.setPalette(palette);
}
