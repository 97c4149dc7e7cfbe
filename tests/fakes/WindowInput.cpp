#include "WindowInput.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace WindowInput {
namespace {
QWindow* HandleOf(const QWidget& anyWidgetOfWindow)
{
    QWindow* handle = anyWidgetOfWindow.window()->windowHandle();
    Q_ASSERT_X(handle, "WindowInput", "the window must be shown before it takes input");
    return handle;
}
} // namespace

QPoint CentreInWindow(const QWidget& widget) { return widget.mapTo(widget.window(), widget.rect().center()); }

QWidget* WidgetAt(QWidget& window, QPoint pointInWindow) { return window.childAt(pointInWindow); }

void Click(const QWidget& widget) { ClickAt(widget, widget.rect().center()); }

void ClickAt(const QWidget& widget, QPoint localPoint, Qt::MouseButton button)
{
    QTest::mouseClick(HandleOf(widget), button, Qt::NoModifier, widget.mapTo(widget.window(), localPoint));
}

void ClickWindowAt(QWidget& window, QPoint pointInWindow, Qt::MouseButton button)
{
    QTest::mouseClick(HandleOf(window), button, Qt::NoModifier, pointInWindow);
}

void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(HandleOf(window), key, modifiers);
}

void Type(QWidget& window, const QString& text)
{
    for (const QChar ch : text)
        QTest::keyClick(HandleOf(window), ch.toLatin1());
}

} // namespace WindowInput
