#include "QtBackgroundCalls.h"

#include <QMetaObject>

namespace {
// More than ever run at once: a command, a ping and the gateway sequence's ping.
constexpr int kMostCallsAtOnce = 8;
} // namespace

QtBackgroundCalls::QtBackgroundCalls() { pool_.setMaxThreadCount(kMostCallsAtOnce); }

// The services go after the window, once the event loop has ended: a call still running
// (an echo's second, a cancelled command's last moments) ends before the services it uses.
QtBackgroundCalls::~QtBackgroundCalls() { pool_.waitForDone(); } // after the event loop

void QtBackgroundCalls::start(std::function<int()> call, std::function<void(int)> done)
{
    QObject* receiver = &receiver_;
    pool_.start([receiver, call = std::move(call), done = std::move(done)] {
        const int result = call();
        QMetaObject::invokeMethod(receiver, [done, result] { done(result); }, Qt::QueuedConnection);
    });
}
