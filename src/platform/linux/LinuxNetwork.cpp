#include "platform/PlatformFactory.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtEventWaiter.h"
#include "platform/qt/QtTimerFactory.h"

#include "LinuxAdapterList.h"
#include "LinuxEchoTest.h"
#include "LinuxNeighbourTable.h"
#include "LinuxUdpSocket.h"

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
    LinuxUdpSocket socket_{UdpSocket::kProgramReceiveBufferBytes};
    LinuxAdapterList adapters_;
    LinuxEchoTest echo_;
    LinuxNeighbourTable neighbours_;
    NetworkServices network_{clock_, waiter_, timers_, socket_, adapters_, echo_, neighbours_};
};

} // namespace

std::unique_ptr<PlatformNetwork> CreatePlatformNetwork() { return std::make_unique<RealNetwork>(); }
