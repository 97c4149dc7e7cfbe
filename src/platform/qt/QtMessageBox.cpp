#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

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
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Hoptrace"), QString::fromStdString(text),
                                QMessageBox::Ok, ProgramWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] {
        if (closed)
            closed();
    });
    // Modal to the window, without a loop of its own: the window's timers and replies go on.
    box->open();
}
