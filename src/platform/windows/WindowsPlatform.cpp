#include "platform/NetshProvisioningCommands.h"
#include "platform/PlatformFactory.h"
#include "platform/qt/QtBackgroundCalls.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/QtUdpSocket.h"

#include "WindowsAdapterList.h"
#include "WindowsCommandRunner.h"
#include "WindowsEchoTest.h"
#include "WindowsNeighbourTable.h"
#include "WindowsTempDir.h"
#include "WindowsUrlOpener.h"
#include "WindowsWlan.h"

// The build compiles this folder only on Windows, so these are the implementations.

namespace {

class RealServices final : public PlatformServices {
public:
    explicit RealServices(int receiveBufferBytes) : socket_(receiveBufferBytes) { }
    Services& services() override { return services_; }

private:
    QtClock clock_;
    QtTimerFactory timers_;
    QtUdpSocket socket_;
    WindowsAdapterList adapters_;
    WindowsEchoTest echo_;
    WindowsNeighbourTable neighbours_;
    WindowsWlan wlan_;
    WindowsCommandRunner commands_;
    WindowsTempDir tempDir_;
    // ShellExecuteA, the shell's own way to the default browser: QDesktopServices ends in
    // the same call on Windows, so going there directly keeps the address as written.
    WindowsUrlOpener urls_;
    QtMessageBox messages_;
    NetshProvisioningCommands provisioning_;
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
