#include "PictureButton.h"

#include "RefreshSymbol.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {
// The picture keeps its 32x32 size at the top left, as a picture box shows it.
constexpr int kPictureSize = 32;
} // namespace

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), RefreshSymbol(devicePixelRatioF()));
    if (!isEnabled())
        painter.fillRect(QRect(0, 0, kPictureSize, kPictureSize), QColor(255, 255, 255, 110));
    if (hasFocus()) {
        // The round picture leaves the corners of its box free for the focus ring.
        QStyleOptionFocusRect ring;
        ring.initFrom(this);
        ring.rect = QRect(0, 0, kPictureSize, kPictureSize).adjusted(-1, -1, 2, 2) & rect();
        ring.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &ring, &painter, this);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    // Space is the button's own key; Enter acts at once, as on a focused default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
