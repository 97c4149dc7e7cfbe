#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

// Input as a person gives it. Every click goes to the top-level window at a point in
// window coordinates, so Qt's own hit test picks the widget under the pointer (a control
// covered by another one does not get it); every key goes through the window to the
// focus widget. No test delivers an event to a widget object directly.
namespace WindowInput {

// The centre of `widget`, in the coordinates of its top-level window.
QPoint CentreInWindow(const QWidget& widget);
// The widget a click at `pointInWindow` of `window` reaches (Qt's hit test).
QWidget* WidgetAt(QWidget& window, QPoint pointInWindow);

// A left click at the centre of `widget` (or at `localPoint` of it), through its window.
void Click(const QWidget& widget);
void ClickAt(const QWidget& widget, QPoint localPoint, Qt::MouseButton button = Qt::LeftButton);
// A left click at a point of the top-level window.
void ClickWindowAt(QWidget& window, QPoint pointInWindow, Qt::MouseButton button = Qt::LeftButton);

// One key press and release, to whatever widget of `window` has the focus.
void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types `text` character by character to the focus widget.
void Type(QWidget& window, const QString& text);

} // namespace WindowInput
