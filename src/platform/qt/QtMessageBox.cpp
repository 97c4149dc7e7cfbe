#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBox::show(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Hoptrace"), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
