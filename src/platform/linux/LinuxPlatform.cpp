#include "platform/NmcliProvisioningCommands.h"
#include "platform/PlatformFactory.h"
#include "platform/qt/QtBackgroundCalls.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/QtUrlOpener.h"

#include "LinuxAdapterList.h"
#include "LinuxCommandRunner.h"
#include "LinuxEchoTest.h"
#include "LinuxNeighbourTable.h"
#include "LinuxTempDir.h"
#include "LinuxUdpSocket.h"
#include "NetworkManagerWlan.h"

// The build compiles this folder only on Linux, so these are the implementations.

namespace {

class RealServices final : public PlatformServices {
public:
    explicit RealServices(int receiveBufferBytes) : socket_(receiveBufferBytes) { }
    Services& services() override { return services_; }

private:
    QtClock clock_;
    QtTimerFactory timers_;
    LinuxUdpSocket socket_;
    LinuxAdapterList adapters_;
    LinuxEchoTest echo_;
    LinuxNeighbourTable neighbours_;
    NetworkManagerWlan wlan_;
    LinuxCommandRunner commands_;
    LinuxTempDir tempDir_;
    QtUrlOpener urls_;
    QtMessageBox messages_;
    NmcliProvisioningCommands provisioning_;
    // After the services its calls use: destroyed first, it waits for the calls still running.
    QtBackgroundCalls background_;
    Services services_{clock_, timers_,   background_, socket_, adapters_, echo_,        neighbours_,
                       wlan_,  commands_, tempDir_,    urls_,   messages_, provisioning_};
};

} // namespace

std::unique_ptr<PlatformServices> CreatePlatformServices(int receiveBufferBytes)
{
    return std::make_unique<RealServices>(receiveBufferBytes);
}
