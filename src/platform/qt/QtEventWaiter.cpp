#include "QtEventWaiter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>

void QtEventWaiter::waitForEvent(double maxSeconds)
{
    // A precise single-shot timer bounds the sleep; WaitForMoreEvents blocks in the
    // event dispatcher until that timer or any other event arrives, so the thread
    // sleeps instead of spinning.
    const int ms = static_cast<int>(std::ceil(std::clamp(maxSeconds, 0.0, 3600.0) * 1000.0));
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(ms);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
