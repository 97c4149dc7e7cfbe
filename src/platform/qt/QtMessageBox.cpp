#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QWindow>

namespace {
// The box belongs to the program's window even when another program is active: a box
// that opens at the end of a wait may find the window in the background.
QWidget* ProgramWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->isWindow())
            return widget;
    return nullptr;
}
} // namespace

void QtMessageBox::show(const std::string& text, std::function<void()> closed)
{
    // Not a child widget of the window: the window disables itself while it is busy (a search
    // that starts while the box is open), and a child would be disabled with it, its OK out of
    // reach until the search ends. Modal to the window all the same, through the window system.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Hoptrace"), QString::fromStdString(text),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (QWidget* owner = ProgramWindow(); owner && owner->windowHandle()) {
        box->winId(); // the box's own window, so that it can name its owner
        box->windowHandle()->setTransientParent(owner->windowHandle());
        box->adjustSize();
        box->move(owner->frameGeometry().center() - box->rect().center());
    }
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] {
        if (closed)
            closed();
    });
    // Modal to the window, without a loop of its own: the window's timers and replies go on.
    box->open();
}
