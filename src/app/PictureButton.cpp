#include "PictureButton.h"

#include "RefreshSymbol.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap symbol = RefreshSymbol(devicePixelRatioF());
    // The picture keeps its 32x32 size at the top left, as a picture box shows it.
    painter.drawPixmap(QPoint(0, 0), symbol);
    if (!isEnabled()) {
        painter.fillRect(QRect(0, 0, 32, 32), QColor(255, 255, 255, 110));
    }
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
