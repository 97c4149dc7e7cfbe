#include "BusyAnimation.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace {
constexpr int kDots = 10;
}

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent)
{
    frames_.setInterval(90);
    connect(&frames_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kDots;
        update();
    });
}

void BusyAnimation::play() { frames_.start(); }

void BusyAnimation::stop() { frames_.stop(); }

void BusyAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double side = std::min(width(), height());
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double ring = side * 0.36, dot = side * 0.09;
    // The head dot is darkest; the tail fades, so the ring seems to turn.
    for (int i = 0; i < kDots; ++i) {
        const double angle = 2 * std::numbers::pi * i / kDots;
        const int age = (frame_ - i + kDots) % kDots;
        p.setBrush(QColor(30, 110, 200, 255 - age * 22));
        p.drawEllipse(centre + QPointF(ring * std::cos(angle), ring * std::sin(angle)), dot, dot);
    }
}
