#pragma once

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextCursor>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

// Input as a person gives it. Every click goes to the top-level window at a point in window
// coordinates, so Qt's own hit test picks the widget under the pointer (a control covered by
// another one does not get it); every key goes through the window to the focus widget.
// The window must be shown.
namespace WindowInput {

// A click at `point` of `widget`, or a left click at its centre, through its window.
inline void ClickAt(const QWidget& widget, QPoint point, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(widget.window()->windowHandle(), button, Qt::NoModifier, widget.mapTo(widget.window(), point));
}
inline void Click(const QWidget& widget) { ClickAt(widget, widget.rect().center()); }
// A click that places the caret after `position` characters of the box's shown text (scrolled into view).
inline void ClickAtCaret(QPlainTextEdit& box, int position)
{
    QTextCursor caret(box.document());
    caret.setPosition(position);
    box.setTextCursor(caret);
    ClickAt(*box.viewport(), box.cursorRect(caret).center());
}

// One key press and release, to whatever widget of `window` has the focus.
inline void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(window.window()->windowHandle(), key, modifiers);
}
// Types `text` character by character to the focus widget.
inline void Type(QWidget& window, const QString& text)
{
    for (const QChar ch : text)
        QTest::keyClick(window.window()->windowHandle(), ch.toLatin1());
}
// Replaces a box's text as a person does: click into it, select all, delete, type.
inline void Retype(QWidget& window, const QWidget& box, const QString& text)
{
    Click(box);
    Key(window, Qt::Key_A, Qt::ControlModifier);
    Key(window, Qt::Key_Backspace);
    Type(window, text);
}
// Tabs until `target` has the focus; false when the chain never gets there.
inline bool TabTo(QWidget& window, const QWidget* target)
{
    for (int press = 0; press < 60 && QApplication::focusWidget() != target; ++press)
        Key(window, Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

// The item `text` of `menu`, or none.
inline QAction* MenuItem(const QMenu& menu, const QString& text)
{
    const QList<QAction*> actions = menu.actions();
    const auto found = std::ranges::find(actions, text, &QAction::text);
    return found == actions.end() ? nullptr : *found;
}
// Opens the context menu of `widget` with a right click inside it and clicks its item `text`:
// whether the item was enabled; nothing when the menu has no such item.
inline std::optional<bool> ChooseFromMenu(const QWidget& widget, const QString& text)
{
    ClickAt(widget, QPoint(40, 40), Qt::RightButton);
    QPointer menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QAction* item = menu ? MenuItem(*menu, text) : nullptr;
    if (!item)
        return std::nullopt;
    const bool enabled = item->isEnabled();
    ClickAt(*menu, menu->actionGeometry(item).center());
    if (menu && menu->isVisible())
        menu->close(); // a click on a disabled item leaves it open
    return enabled;
}

} // namespace WindowInput
