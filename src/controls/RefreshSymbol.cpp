#include "RefreshSymbol.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

void drawArrow(QPainter& p, const QPointF& centre, double radius, double startDeg, double spanDeg)
{
    const QRectF arc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path;
    path.arcMoveTo(arc, startDeg);
    path.arcTo(arc, startDeg, spanDeg);
    p.drawPath(path);

    // Arrow head at the end of the arc, pointing along the direction of travel.
    const double end = (startDeg + spanDeg) * std::numbers::pi / 180.0;
    const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    const double dir = end + (spanDeg > 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2);
    const QPointF forward(std::cos(dir), -std::sin(dir));
    const QPointF side(-forward.y(), forward.x());
    QPolygonF head;
    head << tip + forward * 4.5 << tip + side * 4.0 << tip - side * 4.0;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(head);
    p.restore();
}

} // namespace

QPixmap RefreshSymbol(qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(32, 32) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(12, 10), 20);
    shade.setColorAt(0, QColor(120, 220, 110));
    shade.setColorAt(1, QColor(20, 130, 40));
    p.setBrush(shade);
    p.setPen(QPen(QColor(10, 90, 25), 1));
    p.drawEllipse(QRectF(1, 1, 30, 30));

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::FlatCap));
    const QPointF centre(16, 16);
    drawArrow(p, centre, 8.5, 100, 130);
    drawArrow(p, centre, 8.5, 280, 130);
    return pixmap;
}
