#pragma once

#include "platform/Timer.h"

#include <QTimer>

class QtTimer final : public Timer {
public:
    QtTimer();
    void setInterval(int milliseconds) override;
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;
    void setTickHandler(std::function<void()> onTick) override;

private:
    QTimer timer_; // precise: a coarse timer may wake a wait up to 5 % early
    std::function<void()> onTick_;
};
