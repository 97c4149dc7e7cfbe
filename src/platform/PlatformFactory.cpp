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
#include "windows/WindowsAdapterList.h"
#include "windows/WindowsCommandRunner.h"
#include "windows/WindowsEchoTest.h"
#include "windows/WindowsNeighbourTable.h"
#include "windows/WindowsTempDir.h"
#include "windows/WindowsUrlOpener.h"
#include "windows/WindowsWlan.h"
#else
#include "linux/LinuxAdapterList.h"
#include "linux/LinuxCommandRunner.h"
#include "linux/LinuxEchoTest.h"
#include "linux/LinuxNeighbourTable.h"
#include "linux/LinuxTempDir.h"
#include "linux/LinuxUdpSocket.h"
#include "linux/NetworkManagerWlan.h"
#endif

namespace {

#if defined(_WIN32)
using SystemAdapterList = WindowsAdapterList;
using SystemEchoTest = WindowsEchoTest;
using SystemNeighbourTable = WindowsNeighbourTable;
using SystemWlan = WindowsWlan;
using SystemCommandRunner = WindowsCommandRunner;
using SystemTempDir = WindowsTempDir;
// ShellExecuteA, the shell's own way to the default browser: QDesktopServices ends in
// the same call on Windows, so going there directly keeps the address as written.
using SystemUrlOpener = WindowsUrlOpener;
using SystemProvisioning = NetshProvisioningCommands;
using SystemUdpSocket = QtUdpSocket;
#else
using SystemAdapterList = LinuxAdapterList;
using SystemEchoTest = LinuxEchoTest;
using SystemNeighbourTable = LinuxNeighbourTable;
using SystemWlan = NetworkManagerWlan;
using SystemCommandRunner = LinuxCommandRunner;
using SystemTempDir = LinuxTempDir;
using SystemUrlOpener = QtUrlOpener;
using SystemProvisioning = NmcliProvisioningCommands;
// A receiver thread empties the socket whatever the window thread is doing.
using SystemUdpSocket = LinuxUdpSocket;
#endif

class RealServices final : public PlatformServices {
public:
    explicit RealServices(int receiveBufferBytes) : socket_(receiveBufferBytes) {}
    Services& services() override { return services_; }

private:
    QtClock clock_;
    QtEventWaiter waiter_;
    QtTimer timer1_;
    SystemUdpSocket socket_;
    SystemAdapterList adapters_;
    SystemEchoTest echo_;
    SystemNeighbourTable neighbours_;
    SystemWlan wlan_;
    SystemCommandRunner commands_{&waiter_};
    SystemTempDir tempDir_;
    SystemUrlOpener urls_;
    QtMessageBox messages_;
    Services services_{clock_, waiter_, timer1_, socket_, adapters_, echo_, neighbours_, wlan_,
                       commands_, tempDir_, urls_, messages_};
};

class RealNetwork final : public PlatformNetwork {
public:
    NetworkServices& network() override { return network_; }

private:
    QtClock clock_;
    QtEventWaiter waiter_;
    SystemUdpSocket socket_{UdpSocket::kProgramReceiveBufferBytes};
    SystemAdapterList adapters_;
    SystemEchoTest echo_;
    SystemNeighbourTable neighbours_;
    NetworkServices network_{clock_, waiter_, socket_, adapters_, echo_, neighbours_};
};

} // namespace

std::unique_ptr<PlatformNetwork> CreatePlatformNetwork()
{
    return std::make_unique<RealNetwork>();
}

std::unique_ptr<PlatformServices> CreatePlatformServices(int receiveBufferBytes)
{
    return std::make_unique<RealServices>(receiveBufferBytes);
}

const ProvisioningCommands& SystemProvisioningCommands()
{
    static const SystemProvisioning commands;
    return commands;
}
