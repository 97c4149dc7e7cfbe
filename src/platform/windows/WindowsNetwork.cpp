#include "platform/PlatformFactory.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtEventWaiter.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/QtUdpSocket.h"

#include "WindowsAdapterList.h"
#include "WindowsEchoTest.h"
#include "WindowsNeighbourTable.h"

// The command line's services, in a file of their own: the window's program never links them,
// and with them the one waiter that lets the event loop run inside a call.

namespace {

class RealNetwork final : public PlatformNetwork {
public:
    NetworkServices& network() override { return network_; }

private:
    QtClock clock_;
    QtEventWaiter waiter_;
    QtTimerFactory timers_;
    QtUdpSocket socket_;
    WindowsAdapterList adapters_;
    WindowsEchoTest echo_;
    WindowsNeighbourTable neighbours_;
    NetworkServices network_{clock_, waiter_, timers_, socket_, adapters_, echo_, neighbours_};
};

} // namespace

std::unique_ptr<PlatformNetwork> CreatePlatformNetwork() { return std::make_unique<RealNetwork>(); }
