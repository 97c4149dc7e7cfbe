#include "QtWindowLossWatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>

#include <cstdint>
#include <cstring>

namespace {
// A DestroyNotify event as the X protocol lays it out (the same 32-byte block on every
// platform that speaks X), so no X development headers are needed.
constexpr std::uint8_t DestroyNotify = 17;
constexpr std::size_t DestroyedWindowOffset = 8;
} // namespace

QtWindowLossWatch::QtWindowLossWatch(const QWidget& window, std::function<void()> onLost)
    : window_(window), onLost_(std::move(onLost))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

QtWindowLossWatch::~QtWindowLossWatch()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool QtWindowLossWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    // Only X delivers events about windows another client destroyed; elsewhere a window
    // cannot be destroyed from outside the program.
    if (lost_ || eventType != "xcb_generic_event_t" || window_.internalWinId() == 0)
        return false;
    const auto* bytes = static_cast<const std::uint8_t*>(message);
    if ((bytes[0] & 0x7F) != DestroyNotify)
        return false;
    std::uint32_t destroyed = 0;
    std::memcpy(&destroyed, bytes + DestroyedWindowOffset, sizeof destroyed);
    if (destroyed != static_cast<std::uint32_t>(window_.internalWinId()))
        return false;
    lost_ = true;
    // Not from inside the window system's event dispatch: closing runs the window's own
    // shutdown, which may let a waiting command unwind first.
    QMetaObject::invokeMethod(QCoreApplication::instance(), onLost_, Qt::QueuedConnection);
    return false;
}
