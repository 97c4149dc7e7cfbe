#include "CaptionFrame.h"

#include <QPainter>

void CaptionFrame::setBorderless(bool borderless)
{
    borderless_ = borderless;
    update();
}

void CaptionFrame::paintEvent(QPaintEvent*)
{
    if (borderless_)
        return;
    QPainter painter(this);
    // A frame is opaque: whatever lies under it (the server list under the IP setup panel) stays hidden.
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QFontMetrics metrics(font());
    const int line = metrics.height() / 2;
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;

    painter.setPen(palette().color(group, QPalette::Mid));
    painter.drawRect(QRect(0, line, width() - 1, height() - line - 1));
    if (title().isEmpty())
        return;
    const QRect caption(7, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, palette().color(group, QPalette::Window));
    painter.setPen(palette().color(group, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}
