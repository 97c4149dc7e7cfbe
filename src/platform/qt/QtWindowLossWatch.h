#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>

class QWidget;

// Tells when the window system has destroyed a window without asking it to close (another
// X client destroying it, as `xdotool windowclose` does). Qt takes no notice of that and the
// program would go on running with no window; `onLost` lets it end as if closed.
class QtWindowLossWatch final : public QAbstractNativeEventFilter {
public:
    QtWindowLossWatch(const QWidget& window, std::function<void()> onLost);
    ~QtWindowLossWatch() override;
    QtWindowLossWatch(const QtWindowLossWatch&) = delete;
    QtWindowLossWatch& operator=(const QtWindowLossWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& window_;
    std::function<void()> onLost_;
    bool lost_ = false;
};
