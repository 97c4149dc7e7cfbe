#pragma once

#include "platform/BackgroundCalls.h"

#include <QObject>
#include <QThreadPool>

// Each call gets a pool thread of its own (a command may run for a minute while pings
// come and go). The results come back through `receiver_`, which lives on the window's
// thread; the destructor waits for calls still running, so none outlives the services.
class QtBackgroundCalls final : public BackgroundCalls {
public:
    QtBackgroundCalls();
    ~QtBackgroundCalls() override;
    void start(std::function<int()> call, std::function<void(int)> done) override;

private:
    QObject receiver_;
    QThreadPool pool_;
};
