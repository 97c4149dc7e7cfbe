#include "TestMain.h"

#include "PrivateNetwork.h"
#include "devices/FreeAddressTest.h"
#include "platform/Pinger.h"
#include "platform/linux/LinuxAdapterList.h"
#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/LinuxEchoTest.h"
#include "platform/linux/LinuxNeighbourTable.h"
#include "platform/linux/LinuxTempDir.h"
#include "platform/linux/UniqueFd.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(EchoMethod)

namespace {

// Steps of private-network.sh separated by "; ", e.g. "node r1; in r1 ip route add default via
// 10.1.0.1"; refused, as every step is, outside a private network.
bool Steps(const QString& steps)
{
    const QStringList list = steps.split(QStringLiteral("; "));
    return std::ranges::all_of(list, [](const QString& step) { return PrivateNetwork::run(step.split(' ')); });
}

// Echo requests sent so far by anything in this network namespace.
long long OutgoingEchoRequests()
{
    const QString snmp = QString::fromLatin1(ReadFile("/proc/net/snmp").value_or(""));
    const auto names = QRegularExpression(QStringLiteral("Icmp: (\\D.*)\nIcmp: (.*)\n")).match(snmp);
    return names.captured(2).split(' ').value(names.captured(1).split(' ').indexOf("OutEchos"), "-1").toLongLong();
}

// Moves the calling thread (and the programs it starts) into the network of the node "name".
bool EnterNetworkOf(const QString& name)
{
    const QByteArray pid =
        ReadFile(qEnvironmentVariable("HOPTRACE_PRIVATE_NETWORK") + "/node." + name).value_or("none").trimmed();
    const UniqueFd fd(open(("/proc/" + pid + "/ns/net").constData(), O_RDONLY | O_CLOEXEC));
    return fd.get() >= 0 && setns(fd.get(), CLONE_NEWNET) == 0;
}
// Takes CAP_NET_RAW out of, or back into, this thread's effective set; a program started
// afterwards (ping) gets its own capabilities again as root of the namespace.
bool SetRawSocketCapability(bool enabled)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    data[0].effective = enabled ? data[0].effective | 1U << CAP_NET_RAW : data[0].effective & ~(1U << CAP_NET_RAW);
    return syscall(SYS_capset, &header, data) == 0;
}
// Gone, or only a zombie waiting for the init process: nothing of it runs any more.
bool IsNotRunning(const QByteArray& pid)
{
    const QByteArray line = ReadFile("/proc/" + pid + "/stat").value_or("() Z");
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}
} // namespace

// The platform's Linux services: the gateway sequence's scripts, the private folder they are written
// to and their runs (TMPDIR points at a fresh folder, base_, while these cases run); real interfaces
// and ICMP in a private network (tests/netns), where LinuxNetworkNetTest runs.
class LinuxPlatformTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void networkInAPrivateNetwork() { PrivateNetwork::runTestClass("LinuxNetworkNetTest"); }
    void initTestCase() { qputenv("TMPDIR", base_.path().toLocal8Bit()); }
    void cleanupTestCase() { qputenv("TMPDIR", oldTmpDir_); }
    // "hang" starts sleep in the background and never ends by itself: the time limit, or a
    // cancel while the program's events run, must end its whole process group.
    void run_data()
    {
        const auto row = Columns<QString, QByteArray, bool, int>("fileName", "script", "cancel",
                                                                 "expected"); // no script: none written
        const QByteArray hang("sleep 60 &\necho $$ $! > \"$0.pids\".new\nmv \"$0.pids\".new \"$0.pids\"\nwait\n");
        row("blanks and shell characters in the path", "it's $HOME; `x` & (y).sh", "exit 7\n", false, 7);
        row("ended by a signal", "term.sh", "kill -TERM $$\nsleep 5\n", false, 128 + SIGTERM);
        row("missing file", "missing.sh", {}, false, -1);
        row("a folder", {}, {}, false, -1);
        row("hang, time limit", "hang.sh", hang, false, -1);
        row("hang, cancel", "hang.sh", hang, true, -1);
    }
    void run()
    {
        const auto [fileName, script, cancel] = Fetch<QString, QByteArray, bool>("fileName", "script", "cancel");
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName), pidPath = path + ".pids";
        QVERIFY(script.isEmpty() || WriteFile(path, script));
        LinuxCommandRunner runner;
        std::atomic<bool> ended = false;
        std::thread canceller;
        // Stands for the window's thread while the run blocks its own: the close arrives once the script is going.
        if (cancel)
            canceller = std::thread([&] {
                while (!ended && !QFile::exists(pidPath))
                    QThread::msleep(20);
                runner.cancel();
            });
        const int exitCode = runner.run(path.toStdString(), fileName == "hang.sh" && !cancel ? 0.5 : 60.0);
        ended = true;
        if (canceller.joinable())
            canceller.join();
        QTEST(exitCode, "expected");
        if (fileName != "hang.sh")
            return;
        const QList<QByteArray> pids = ReadFile(pidPath).value_or("").simplified().split(' '); // shell, sleep
        QCOMPARE(pids.size(), 2);
        QCOMPARE(waitpid(pids[0].toInt(), nullptr, WNOHANG), -1); // the shell reaped, not left a zombie
        QTRY_VERIFY(IsNotRunning(pids[1]));                       // the rest of its group went with it
    }

    void privateDirIsOwnAndRemovedAndNothingElseIs()
    {
        QTemporaryDir outside;
        QVERIFY(QFile(outside.filePath(QStringLiteral("precious"))).open(QIODevice::WriteOnly));
        const mode_t oldMask = umask(0); // the mode must not depend on the umask
        LinuxTempDir temp;
        const auto dir = temp.createPrivateDir();
        umask(oldMask);
        const QString path = QString::fromStdString(dir.value_or(""));
        QVERIFY2(path.startsWith(base_.path() + "/hoptrace-") && path.endsWith('/'), qPrintable(path));
        struct stat info{};
        QCOMPARE(stat(dir->c_str(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QVERIFY(QDir().mkpath(path + QStringLiteral("sub")));
        QVERIFY(QFile::link(outside.path(), path + QStringLiteral("sub/link")));
        temp.removePrivateDir(*dir);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY2(QFileInfo::exists(outside.filePath(QStringLiteral("precious"))), "a link inside was followed");
        // Each foreign folder holds a file; removal is asked for the folder itself or a path to it.
        QVERIFY(QDir().mkpath(base_.filePath(QStringLiteral("hoptrace-abc123"))));
        for (const auto& [victim, asked] : {std::pair{"", "/"},
                                            {"other-abc123", "/other-abc123/"},
                                            {"hoptrace-abc1234", "/hoptrace-abc1234/"},
                                            {"keep", "/hoptrace-abc123/../keep/"},
                                            {"elsewhere/hoptrace-abc123", "/elsewhere/hoptrace-abc123/"}}) {
            const QString precious = base_.path() + '/' + victim + QStringLiteral("/precious");
            QVERIFY(QDir().mkpath(QFileInfo(precious).path()));
            QVERIFY(QFile(precious).open(QIODevice::WriteOnly));
            LinuxTempDir().removePrivateDir(base_.path().toStdString() + asked);
            QVERIFY2(QFileInfo::exists(precious), asked);
        }
    }

private:
    const QByteArray oldTmpDir_ = QDir::tempPath().toLocal8Bit();
    QTemporaryDir base_;
};

//   self 10.71.1.1 -- 10.71.1.254 r1 10.71.2.254 -- 10.71.2.253 r2 10.71.3.254 -- 10.71.3.2 far
//                                  r1 10.72.1.254 -- 10.72.1.1 plain
//   self 10.73.1.1 -- 10.73.1.25 blind, which drops every echo request by a firewall rule
//   self wan 10.81.1.10/24 (and .11) -- peer, lan 10.82.2.10/16 -- peer, bare (no IPv4) -- peer,
//   vpn 10.83.0.1/24 (a tun device: no hardware address)
// They are made in that order, so their indexes rise while the names of wan, lan and bare fall.
// Each route that must not give a gateway would win if it were read: the lowest metric, a
// table other than main, no device, no gateway, a second nexthop, a second address.
// In "self" ICMP datagram sockets are allowed for the test's group; "plain" keeps the
// kernel's default, which allows them to no group (and which a user namespace cannot set).
class LinuxNetworkNetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(Steps(
            "node r1; node r2; node far; node plain; node blind; router r1; router r2; "
            "link self pc0 10.71.1.1/24 r1 r1a 10.71.1.254/24; link r1 r1b 10.71.2.254/24 r2 r2a 10.71.2.253/24; "
            "link r2 r2b 10.71.3.254/24 far f0 10.71.3.2/24; link r1 r1c 10.72.1.254/24 plain p0 10.72.1.1/24; "
            "in self ip route add default via 10.71.1.254; in r1 ip route add 10.71.3.0/24 via 10.71.2.253; "
            "in r2 ip route add default via 10.71.2.254; in far ip route add default via 10.71.3.254; "
            "in plain ip route add default via 10.72.1.254; link self pc1 10.73.1.1/24 blind b0 10.73.1.25/24; "
            "in blind nft add table inet f; in blind nft add chain inet f in { type filter hook input priority 0 ;}; "
            "in blind nft add rule inet f in icmp type echo-request drop; node peer; "
            "link self wan 10.81.1.10/24 peer p1 10.81.1.1/24; link self lan 10.82.2.10/16 peer p2 10.82.2.1/16; "
            "link self bare - peer p3 -; in self ip addr add 10.81.1.11/24 dev wan; "
            "in self ip route add default via 10.81.1.3 table 100; in self ip route add blackhole default metric 1; "
            "in self ip route add default dev bare metric 2; in self ip route add default via 10.81.1.1 metric 5; "
            "in self ip route add 10.99.0.0/16 via 10.82.2.3; "
            "in self ip route add default metric 20 nexthop via 10.81.1.2 dev wan nexthop via 10.82.2.1 dev lan; "
            "in self ip route add default via 10.81.1.4 metric 50"));
        // Some containers have no usable /dev/net/tun; there only the VPN adapter goes unchecked.
        hasTun_ = UniqueFd(open("/dev/net/tun", O_RDWR | O_CLOEXEC)).get() >= 0 || qgetenv("CI") == "true";
        QVERIFY(!hasTun_ || Steps("in self ip tuntap add dev vpn mode tun; in self ip addr add 10.83.0.1/24 dev vpn"));
        QFile range(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
        const QByteArray group = QByteArray::number(getgid()) + ' ' + QByteArray::number(getgid());
        // Unbuffered: the kernel's refusal only shows on the write itself.
        QVERIFY2(range.open(QIODevice::WriteOnly | QIODevice::Unbuffered), qPrintable(range.errorString()));
        QCOMPARE(range.write(group), group.size());
    }
    void cleanup()
    {
        SetRawSocketCapability(true);
        EnterNetworkOf(QStringLiteral("self"));
    }
    // Each method is reached through the whole chain, with the ones before it refused:
    // datagram sockets by sending from "plain", raw sockets by dropping CAP_NET_RAW.
    // requests 0: refused before sending.
    void echo_data()
    {
        const auto row = Columns<EchoMethod, QString, int, bool, int>("method", "address", "hops", "answered",
                                                                      "requests");
        const std::pair<EchoMethod, const char*> methods[] = {{EchoMethod::DatagramSocket, "datagram socket"},
                                                              {EchoMethod::RawSocket, "raw socket"},
                                                              {EchoMethod::PingProgram, "ping program"}};
        for (const auto& [method, name] : methods) {
            const auto row = [&](const char* what, const char* address, bool answered) {
                QTest::addRow("%s, %s", name, what) << method << QString::fromLatin1(address) << 2 << answered << 1;
            };
            row("free address on the link", method == EchoMethod::DatagramSocket ? "10.71.1.99" : "10.72.1.99", false);
            row("one router away", "10.71.2.253", true);
            row("three hops away, TTL 2", "10.71.3.2", false);
        }
        row("ping program, leading zeros are decimal", EchoMethod::PingProgram, "010.071.002.253", 2, true, 1);
        // Forms a looser reader (inet_aton, strtoul) would take: "10.71.1" is 10.71.0.1 there.
        for (const char* refused : {"10.71.1", "010.071.002.0253", " 10.71.2.253", "10.71.2.253 ", "0x0a.71.2.253",
                                    "172425981", "255.255.255.255", "0.0.0.0", "224.0.0.1"})
            row(refused, EchoMethod{}, QString::fromLatin1(refused), 2, false, 0);
        row("embedded NUL", EchoMethod{}, QString::fromLatin1("10.71.2.253\0", 12), 2, false, 0);
        row("no hops", EchoMethod{}, QStringLiteral("10.71.1.254"), 0, false, 0);
        row("too many hops", EchoMethod{}, QStringLiteral("10.71.1.254"), 256, false, 0);
    }
    void echo()
    {
        const auto [method, address, hops, requests] = Fetch<EchoMethod, QString, int, int>("method", "address", "hops",
                                                                                            "requests");
        if (method != EchoMethod::DatagramSocket && requests)
            QVERIFY(EnterNetworkOf(QStringLiteral("plain")));
        if (method == EchoMethod::PingProgram && requests)
            QVERIFY(SetRawSocketCapability(false));
        LinuxEchoTest echoTest;
        const long long before = OutgoingEchoRequests();
        QTEST(echoTest.echo(address.toStdString(), hops, 1.0), "answered");
        QCOMPARE(echoTest.lastMethod(), requests ? std::optional<EchoMethod>(method) : std::nullopt);
        QCOMPARE(OutgoingEchoRequests() - before, static_cast<long long>(requests)); // never a burst
    }
    // After an unanswered echo the network is asked by ARP: a host that drops echo requests
    // answers it, an unused address does not, and neither does a host that answered a moment
    // ago and has since given the address up (a device just moved elsewhere), although the
    // table keeps its entry REACHABLE for the kernel's reachable time (15-45 s).
    void freeAddressTestAsksTheNetworkAfterAnUnansweredEcho()
    {
        QProcess arping;
        arping.start(QStringLiteral("arping"), {QStringLiteral("-V")});
        if (!(arping.waitForFinished() && arping.readAllStandardOutput().contains("iputils"))
            && qgetenv("CI") != "true")
            QSKIP("iputils' arping is not installed here: the table alone answers");
        LinuxEchoTest echo;
        LinuxAdapterList adapters;
        LinuxNeighbourTable neighbours;
        const FreeAddressTest test(Pinger(echo), adapters, neighbours);
        QVERIFY(test.inUse("10.73.1.25"));
        QVERIFY(!test.inUse("10.73.1.99"));
        QVERIFY(Steps("in r1 ip addr add 10.71.1.25/24 dev r1a"));
        QVERIFY(test.inUse("10.71.1.25"));
        QVERIFY(Steps("in r1 ip addr del 10.71.1.25/24 dev r1a"));
        QProcess table;
        table.start(QStringLiteral("ip"), {"-4", "neigh", "show", "10.71.1.25"});
        QVERIFY(table.waitForFinished());
        const QByteArray entry = table.readAllStandardOutput();
        QVERIFY2(entry.contains("REACHABLE"), entry.constData());
        QVERIFY(!test.inUse("10.71.1.25"));
    }
    void listsAdaptersWithTheFirstDefaultGatewayOfEach()
    {
        QStringList seen; // nothing where the list cannot be read
        for (const AdapterInfo& a : LinuxAdapterList().adapters().value_or(std::vector<AdapterInfo>()))
            seen << QString::fromStdString(a.description + " #" + std::to_string(a.interfaceIndex) + " " + a.ipAddress
                                           + "/" + a.ipMask + " gw " + a.gateway);
        const auto line = [](const char* name, const char* address, const char* gateway) {
            return QStringLiteral("%1 #%2 %3 gw %4").arg(name).arg(if_nametoindex(name)).arg(address, gateway);
        };
        // Loopback left out, the rest in interface index order, each with its first address.
        const QStringList expected{line("pc0", "10.71.1.1/255.255.255.0", "10.71.1.254"),
                                   line("pc1", "10.73.1.1/255.255.255.0", ""),
                                   line("wan", "10.81.1.10/255.255.255.0", "10.81.1.1"),
                                   line("lan", "10.82.2.10/255.255.0.0", "10.82.2.1"),
                                   line("bare", "0.0.0.0/0.0.0.0", ""),
                                   line("vpn", "10.83.0.1/255.255.255.0", "")};
        QCOMPARE(seen, hasTun_ ? expected : expected.mid(0, 5));
        if (!hasTun_)
            QSKIP("/dev/net/tun cannot be opened here: the VPN adapter (no hardware address) is not checked");
    }

private:
    bool hasTun_ = false;
};

HOPTRACE_TEST(LinuxPlatformTest)
HOPTRACE_TEST_WHEN(LinuxNetworkNetTest, PrivateNetwork::inside)
#include "LinuxPlatformTest.moc"
