#include "TestMain.h"

#include "PrivateNetwork.h"
#include "platform/linux/LinuxAdapterList.h"
#include "netview/FreeAddressTest.h"
#include "platform/Pinger.h"
#include "platform/linux/LinuxEchoTest.h"
#include "platform/linux/LinuxNeighbourTable.h"
#include "platform/linux/UniqueFd.h"

#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

Q_DECLARE_METATYPE(EchoMethod)

// The classes below need real interfaces and ICMP: they skip themselves unless started
// from here, each in a private network of its own (tests/netns).
class LinuxNetworkRunsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void adapterList() { PrivateNetwork::runTestClass("LinuxAdapterListNetTest"); }
    void echoTest() { PrivateNetwork::runTestClass("LinuxEchoNetTest"); }
    void freeAddress() { PrivateNetwork::runTestClass("FreeAddressNetTest"); }
};

namespace {

// One step of private-network.sh in one string, e.g. "in self ip route add default via 10.1.0.1".
bool Step(const QString& step) { return PrivateNetwork::run(step.split(' ')); }

QString Describe(const AdapterInfo& a)
{
    return QStringLiteral("%1 #%2 %3/%4 gw %5")
        .arg(QString::fromStdString(a.description))
        .arg(a.interfaceIndex)
        .arg(QString::fromStdString(a.ipAddress), QString::fromStdString(a.ipMask), QString::fromStdString(a.gateway));
}

// Echo requests sent so far by anything in this network namespace.
long long OutgoingEchoRequests()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    const QList<QByteArray> lines = snmp.open(QIODevice::ReadOnly) ? snmp.readAll().split('\n') : QList<QByteArray>();
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const qsizetype column = lines[i].split(' ').indexOf("OutEchos");
        if (lines[i].startsWith("Icmp: ") && column > 0)
            return lines[i + 1].split(' ').value(column, "-1").toLongLong();
    }
    return -1;
}

// Moves the calling thread (and the programs it starts) into the network of the process pid.
bool EnterNetworkOf(const QByteArray& pid)
{
    const int fd = open(("/proc/" + pid + "/ns/net").constData(), O_RDONLY | O_CLOEXEC);
    const bool entered = fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0)
        close(fd);
    return entered;
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

} // namespace

// "wan" and "lan" are veth adapters with IPv4, "bare" has none, "vpn" is a tun device (no
// hardware address). They are made in that order, so their indexes rise while names fall.
class LinuxAdapterListNetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!PrivateNetwork::inside())
            QSKIP("runs only inside a private network (see LinuxNetworkRunsTest)");
        QStringList steps{"node peer", "link self wan 10.81.1.10/24 peer p1 10.81.1.1/24",
                          "link self lan 10.82.2.10/16 peer p2 10.82.2.1/16", "link self bare - peer p3 -"};
        // Some containers have no usable /dev/net/tun; there only the VPN adapter goes unchecked.
        const UniqueFd tun(::open("/dev/net/tun", O_RDWR | O_CLOEXEC));
        hasTun_ = tun.get() >= 0 || qEnvironmentVariable("CI") == QLatin1String("true");
        if (hasTun_)
            steps << "in self ip tuntap add dev vpn mode tun"
                  << "in self ip addr add 10.83.0.1/24 dev vpn";
        for (const QString& step : steps)
            QVERIFY2(Step(step), qPrintable(step));
    }
    void cleanup()
    {
        // Undoes what a row may have added.
        QVERIFY(PrivateNetwork::run({"in", "self", "sh", "-c",
                                     "ip route flush table all proto boot && ip addr flush dev wan to 10.81.1.11/32"}));
    }

    void listsAdaptersWithGateways_data()
    {
        Columns<QStringList, QString, QString>("setup", "wanGateway", "lanGateway"); // setup: ip commands
        Row("no default gateway in the main table",
            QStringList{"route add default via 10.81.1.1 table 100", "route add 10.99.0.0/16 via 10.81.1.1",
                        "route add default dev lan", "route add blackhole default metric 7",
                        "addr add 10.81.1.11/24 dev wan"},
            "", "");
        Row("first default route of each adapter",
            QStringList{"route add 10.81.1.2 dev wan", "route add default via 10.81.1.1 metric 5",
                        "route add default via 10.82.2.1 metric 20", "route add default via 10.81.1.2 metric 50"},
            "10.81.1.1", "10.82.2.1");
        Row("multipath default route",
            QStringList{"route add default nexthop via 10.81.1.1 dev wan nexthop via 10.82.2.1 dev lan"}, "10.81.1.1",
            "10.82.2.1");
    }
    void listsAdaptersWithGateways()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, wanGateway);
        QFETCH(QString, lanGateway);
        for (const QString& command : setup)
            QVERIFY2(Step(QStringLiteral("in self ip ") + command), qPrintable(command));

        const auto adapters = LinuxAdapterList().adapters();
        QVERIFY(adapters.has_value());
        QStringList seen;
        for (const AdapterInfo& adapter : *adapters)
            seen << Describe(adapter);
        const auto index = [](const char* name) { return static_cast<int>(if_nametoindex(name)); };
        // Loopback left out, the rest in interface index order, each with its first address.
        const QStringList expected{
            Describe({"wan", "10.81.1.10", "255.255.255.0", wanGateway.toStdString(), index("wan")}),
            Describe({"lan", "10.82.2.10", "255.255.0.0", lanGateway.toStdString(), index("lan")}),
            Describe({"bare", "0.0.0.0", "0.0.0.0", "", index("bare")}),
            Describe({"vpn", "10.83.0.1", "255.255.255.0", "", index("vpn")}),
        };
        QCOMPARE(seen, hasTun_ ? expected : expected.mid(0, 3));
        if (!hasTun_)
            QSKIP("/dev/net/tun cannot be opened here: the VPN adapter (no hardware address) is not checked");
    }

private:
    bool hasTun_ = false;
};

//   self 10.71.1.1 -- 10.71.1.254 r1 10.71.2.254 -- 10.71.2.253 r2 10.71.3.254 -- 10.71.3.2 far
//                                  r1 10.72.1.254 -- 10.72.1.1 plain
// In "self" ICMP datagram sockets are allowed for the test's group; "plain" keeps the
// kernel's default, which allows them to no group (and which a user namespace cannot set).
class LinuxEchoNetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!PrivateNetwork::inside())
            QSKIP("runs only inside a private network (see LinuxNetworkRunsTest)");
        for (const char* step :
             {"node r1", "node r2", "node far", "node plain", "router r1", "router r2",
              "link self pc0 10.71.1.1/24 r1 r1a 10.71.1.254/24", "link r1 r1b 10.71.2.254/24 r2 r2a 10.71.2.253/24",
              "link r2 r2b 10.71.3.254/24 far f0 10.71.3.2/24", "link r1 r1c 10.72.1.254/24 plain p0 10.72.1.1/24",
              "in self ip route add default via 10.71.1.254", "in r1 ip route add 10.71.3.0/24 via 10.71.2.253",
              "in r2 ip route add default via 10.71.2.254", "in far ip route add default via 10.71.3.254",
              "in plain ip route add default via 10.72.1.254"})
            QVERIFY2(Step(QLatin1String(step)), step);
        QFile plainPid(qEnvironmentVariable("HOPTRACE_PRIVATE_NETWORK") + QStringLiteral("/node.plain"));
        QVERIFY(plainPid.open(QIODevice::ReadOnly));
        plainNode_ = plainPid.readAll().trimmed();
        QFile range(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
        const QByteArray group = QByteArray::number(getgid()) + ' ' + QByteArray::number(getgid());
        // Unbuffered: the kernel's refusal only shows on the write itself.
        QVERIFY(range.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && range.write(group) == group.size());
    }
    void cleanup()
    {
        SetRawSocketCapability(true);
        EnterNetworkOf("1");
    }

    // Every case runs through the whole chain of methods, with the ones before "method"
    // refused: datagram sockets by sending from "plain", raw sockets by dropping CAP_NET_RAW.
    void echo_data()
    {
        Columns<EchoMethod, QString, int, bool, int>("method", "address", "hops", "answered", "requests"); // 0: refused
        const struct {
            EchoMethod method;
            const char *name, *link; // the sender's link
        } methods[] = {{EchoMethod::DatagramSocket, "datagram socket", "10.71.1"},
                       {EchoMethod::RawSocket, "raw socket", "10.72.1"},
                       {EchoMethod::PingProgram, "ping program", "10.72.1"}};
        for (const auto& [method, name, link] : methods) {
            const auto row = [&](const char* what) -> QTestData& { return QTest::addRow("%s: %s", name, what); };
            row("neighbour") << method << link + QStringLiteral(".254") << 2 << true << 1;
            row("unused address on the link") << method << link + QStringLiteral(".99") << 2 << false << 1;
            row("one router away") << method << "10.71.2.253" << 2 << true << 1;
            row("three hops away, TTL 2") << method << "10.71.3.2" << 2 << false << 1;
            row("leading zeros are decimal") << method << "010.071.002.253" << 2 << true << 1;
            row("three parts (inet_aton reads 10.71.0.1)") << method << "10.71.1" << 2 << false << 0;
        }
        const auto refused = [](const char* what) -> QTestData& { return QTest::newRow(what) << EchoMethod{}; };
        refused("limited broadcast") << "255.255.255.255" << 2 << false << 0;
        refused("this host") << "0.0.0.0" << 2 << false << 0;
        refused("multicast") << "224.0.0.1" << 2 << false << 0;
        refused("no hops") << "10.71.1.254" << 0 << false << 0;
        refused("too many hops") << "10.71.1.254" << 256 << false << 0;
    }
    void echo()
    {
        QFETCH(EchoMethod, method);
        QFETCH(QString, address);
        QFETCH(int, hops);
        QFETCH(bool, answered);
        QFETCH(int, requests);
        if (method != EchoMethod::DatagramSocket)
            QVERIFY(EnterNetworkOf(plainNode_));
        if (method == EchoMethod::PingProgram)
            QVERIFY(SetRawSocketCapability(false));
        LinuxEchoTest echoTest;
        const long long before = OutgoingEchoRequests();
        QVERIFY(before >= 0);
        QCOMPARE(echoTest.echo(address.toStdString(), hops, 1.0), answered);
        QCOMPARE(echoTest.lastMethod(), requests ? std::optional<EchoMethod>(method) : std::nullopt);
        QCOMPARE(OutgoingEchoRequests() - before, static_cast<long long>(requests)); // never a burst
    }

private:
    QByteArray plainNode_;
};

// self 10.73.1.1/24 on one link with "blind" 10.73.1.25, which drops every echo request
// by a firewall rule in its own namespace.
class FreeAddressNetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!PrivateNetwork::inside())
            QSKIP("runs only inside a private network (see LinuxNetworkRunsTest)");
        for (const char* step :
             {"node blind", "link self pc0 10.73.1.1/24 blind b0 10.73.1.25/24", "in blind nft add table inet f",
              "in blind nft add chain inet f in { type filter hook input priority 0 ; }",
              "in blind nft add rule inet f in icmp type echo-request drop"})
            QVERIFY2(Step(QLatin1String(step)), step);
    }

    void inUse_data()
    {
        Columns<QString, bool>("address", "inUse");
        QTest::newRow("host that drops echo requests") << "10.73.1.25" << true;
        QTest::newRow("unused address") << "10.73.1.99" << false;
    }
    void inUse()
    {
        QFETCH(QString, address);
        QFETCH(bool, inUse);
        LinuxEchoTest echo;
        LinuxAdapterList adapters;
        LinuxNeighbourTable neighbours;
        const Pinger pinger(echo);
        QCOMPARE(FreeAddressTest(pinger, adapters, neighbours).inUse(address.toStdString()), inUse);
    }
};

HOPTRACE_TEST(LinuxNetworkRunsTest)
HOPTRACE_TEST_WHEN(LinuxAdapterListNetTest, PrivateNetwork::inside)
HOPTRACE_TEST_WHEN(LinuxEchoNetTest, PrivateNetwork::inside)
HOPTRACE_TEST_WHEN(FreeAddressNetTest, PrivateNetwork::inside)
#include "LinuxNetworkTest.moc"
