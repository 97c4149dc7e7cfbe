#include "PlatformFactory.h"

#include "NetshProvisioningCommands.h"
#include "NmcliProvisioningCommands.h"
#include "NullServices.h"
#include "qt/QtClock.h"
#include "qt/QtEventWaiter.h"
#include "qt/QtMessageBox.h"
#include "qt/QtTimer.h"
#include "qt/QtUdpSocket.h"
#include "qt/QtUrlOpener.h"

#if defined(_WIN32)
#else
#include "linux/LinuxAdapterList.h"
#include "linux/LinuxCommandRunner.h"
#include "linux/LinuxEchoTest.h"
#include "linux/LinuxTempDir.h"
#include "linux/NetworkManagerWlan.h"
#endif

namespace {

#if defined(_WIN32)
using SystemAdapterList = NullAdapterList;
using SystemEchoTest = NullEchoTest;
using SystemCommandRunner = NullCommandRunner;
using SystemTempDir = NullTempDir;
using SystemWlan = NullWlan;
using SystemProvisioning = NetshProvisioningCommands;
#else
using SystemAdapterList = LinuxAdapterList;
using SystemEchoTest = LinuxEchoTest;
using SystemCommandRunner = LinuxCommandRunner;
using SystemTempDir = LinuxTempDir;
using SystemWlan = NetworkManagerWlan;
using SystemProvisioning = NmcliProvisioningCommands;
#endif

class RealServices final : public PlatformServices {
public:
    Services& services() override { return services_; }

private:
    QtClock clock_;
    QtEventWaiter waiter_;
    QtTimer timer1_;
    QtUdpSocket socket_;
    SystemAdapterList adapters_;
    SystemEchoTest echo_;
    SystemWlan wlan_;
    SystemCommandRunner commands_;
    SystemTempDir tempDir_;
    QtUrlOpener urls_;
    QtMessageBox messages_;
    Services services_{clock_, waiter_, timer1_, socket_, adapters_, echo_, wlan_,
                       commands_, tempDir_, urls_, messages_};
};

} // namespace

std::unique_ptr<PlatformServices> CreatePlatformServices()
{
    return std::make_unique<RealServices>();
}

const ProvisioningCommands& SystemProvisioningCommands()
{
    static const SystemProvisioning commands;
    return commands;
}
