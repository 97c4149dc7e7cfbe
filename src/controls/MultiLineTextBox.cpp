#include "MultiLineTextBox.h"

#include <QPainter>

bool MultiLineTextBox::event(QEvent* event)
{
    const bool handled = QPlainTextEdit::event(event);
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        update(); // the frame, not only the text area
        break;
    case QEvent::Paint:
        if (hasFocus()) {
            // Drawn over the frame, around the text area and the scroll bar.
            QPainter painter(this);
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        }
        break;
    default:
        break;
    }
    return handled;
}
