#include "TypedCharCode.h"

#include <QKeyEvent>

std::optional<int> TypedCharCode(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);

    // Focus navigation and Escape belong to the window, never to the box's text.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape)
        return std::nullopt;
    // Ctrl+Alt is how some keyboards spell AltGr, which does type characters.
    if (alt && !ctrl)
        return std::nullopt;
    if (ctrl && !alt) {
        // The platforms disagree on the text of Ctrl+letter ("\x01" or "a"); the key is reliable.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return key - Qt::Key_A + 1;
        if (key == Qt::Key_Backspace)
            return 127;
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return 10;
        return std::nullopt;
    }
    if (key == Qt::Key_Backspace)
        return 8;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;

    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    const QChar first = text.front();
    // Delete and a few others carry control text on some platforms but type nothing.
    if (first.unicode() < 0x20 || first.unicode() == 0x7F)
        return std::nullopt;
    return first.unicode();
}
