#include "TestMain.h"

#include "PrivateNetwork.h"
#include "platform/linux/LinuxEchoTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

Q_DECLARE_METATYPE(EchoMethod)

namespace {

// Requests sent by anything in this network namespace.
long long OutgoingEchoRequests()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    if (!snmp.open(QIODevice::ReadOnly))
        return -1;
    QList<QByteArray> icmpLines;
    for (const QByteArray& line : snmp.readAll().split('\n')) {
        if (line.startsWith("Icmp: "))
            icmpLines << line;
    }
    if (icmpLines.size() < 2)
        return -1;
    const int column = icmpLines[0].split(' ').indexOf("OutEchos");
    const QList<QByteArray> values = icmpLines[1].split(' ');
    return column > 0 && column < values.size() ? values[column].toLongLong() : -1;
}

bool SetPingGroupRange(const QByteArray& range)
{
    // Unbuffered: the kernel's refusal only shows on the write itself.
    QFile file(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(range) == range.size();
}

// Moves the calling thread (and the programs it starts) into the network of the process pid,
// or back when pid is "self". Sockets it makes belong to that network.
bool EnterNetworkOf(const QByteArray& pid)
{
    const int fd = open(("/proc/" + pid + "/ns/net").constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool entered = setns(fd, CLONE_NEWNET) == 0;
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
    if (enabled)
        data[0].effective |= 1U << CAP_NET_RAW;
    else
        data[0].effective &= ~(1U << CAP_NET_RAW);
    return syscall(SYS_capset, &header, data) == 0;
}

const char* MethodName(std::optional<EchoMethod> method)
{
    if (!method)
        return "none";
    switch (*method) {
    case EchoMethod::DatagramSocket:
        return "datagram socket";
    case EchoMethod::RawSocket:
        return "raw socket";
    case EchoMethod::PingProgram:
        return "ping program";
    }
    return "?";
}

} // namespace

// Runs inside a private network (started by LinuxNetworkRunsTest):
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
        for (const char* node : {"r1", "r2", "far"})
            QVERIFY(PrivateNetwork::run({"node", node}));
        QVERIFY(PrivateNetwork::run({"router", "r1"}));
        QVERIFY(PrivateNetwork::run({"router", "r2"}));
        QVERIFY(PrivateNetwork::run({"link", "self", "pc0", "10.71.1.1/24", "r1", "r1a", "10.71.1.254/24"}));
        QVERIFY(PrivateNetwork::run({"link", "r1", "r1b", "10.71.2.254/24", "r2", "r2a", "10.71.2.253/24"}));
        QVERIFY(PrivateNetwork::run({"link", "r2", "r2b", "10.71.3.254/24", "far", "f0", "10.71.3.2/24"}));
        QVERIFY(PrivateNetwork::run({"in", "self", "ip", "route", "add", "default", "via", "10.71.1.254"}));
        QVERIFY(PrivateNetwork::run({"in", "r1", "ip", "route", "add", "10.71.3.0/24", "via", "10.71.2.253"}));
        QVERIFY(PrivateNetwork::run({"in", "r2", "ip", "route", "add", "default", "via", "10.71.2.254"}));
        QVERIFY(PrivateNetwork::run({"in", "far", "ip", "route", "add", "default", "via", "10.71.3.254"}));
        QVERIFY(PrivateNetwork::run({"node", "plain"}));
        QVERIFY(PrivateNetwork::run({"link", "r1", "r1c", "10.72.1.254/24", "plain", "p0", "10.72.1.1/24"}));
        QVERIFY(PrivateNetwork::run({"in", "plain", "ip", "route", "add", "default", "via", "10.72.1.254"}));
        QFile plainPid(qEnvironmentVariable("HOPTRACE_PRIVATE_NETWORK") + QStringLiteral("/node.plain"));
        QVERIFY(plainPid.open(QIODevice::ReadOnly));
        plainNode_ = plainPid.readAll().trimmed();
        const QByteArray group = QByteArray::number(getgid());
        QVERIFY(SetPingGroupRange(group + ' ' + group));
    }
    void cleanup()
    {
        SetRawSocketCapability(true);
        EnterNetworkOf("1");
    }

    void echo_data()
    {
        QTest::addColumn<EchoMethod>("method");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("hops");
        QTest::addColumn<bool>("answered");
        const struct {
            EchoMethod method;
            const char* name;
        } methods[] = {{EchoMethod::DatagramSocket, "datagram"},
                       {EchoMethod::RawSocket, "raw"},
                       {EchoMethod::PingProgram, "ping program"}};
        for (const auto& [method, name] : methods) {
            const auto row = [name = name](const char* what) -> QTestData& {
                return QTest::newRow(qPrintable(QLatin1String(name) + QStringLiteral(": ") + QLatin1String(what)));
            };
            row("neighbour answers") << method << "10.71.1.254" << 2 << true;
            row("own address answers") << method << "10.71.1.1" << 2 << true;
            row("unused address on the link") << method << "10.71.1.99" << 2 << false;
            row("host one router away") << method << "10.71.2.253" << 2 << true;
            row("host three hops away, TTL 2") << method << "10.71.3.2" << 2 << false;
            row("host three hops away, TTL 3") << method << "10.71.3.2" << 3 << true;
            row("network without route") << method << "10.99.0.1" << 2 << false;
            row("leading zeros are decimal") << method << "010.071.001.254" << 2 << true;
        }
    }
    void echo()
    {
        QFETCH(EchoMethod, method);
        QFETCH(QString, address);
        QFETCH(int, hops);
        QFETCH(bool, answered);
        LinuxEchoTest echoTest({method});
        const long long before = OutgoingEchoRequests();
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(echoTest.echo(address.toStdString(), hops, 1.0), answered);
        qInfo("%s answered=%d in %lld ms", qPrintable(address), int(answered), elapsed.elapsed());
        QCOMPARE(echoTest.lastMethod(), std::optional<EchoMethod>(method));
        // Exactly one request goes out per test, never a burst.
        QCOMPARE(OutgoingEchoRequests() - before, 1LL);
    }

    void fallsBackWhenAMethodIsRefused_data()
    {
        QTest::addColumn<bool>("datagramAllowed");
        QTest::addColumn<bool>("rawAllowed");
        QTest::addColumn<QString>("neighbour");
        QTest::addColumn<QString>("expectedMethod");
        QTest::newRow("all allowed") << true << true << "10.71.1.254" << "datagram socket";
        QTest::newRow("group outside ping_group_range") << false << true << "10.72.1.254" << "raw socket";
        QTest::newRow("no socket allowed") << false << false << "10.72.1.254" << "ping program";
    }
    void fallsBackWhenAMethodIsRefused()
    {
        QFETCH(bool, datagramAllowed);
        QFETCH(bool, rawAllowed);
        QFETCH(QString, neighbour);
        QFETCH(QString, expectedMethod);
        if (!datagramAllowed)
            QVERIFY(EnterNetworkOf(plainNode_));
        if (!rawAllowed)
            QVERIFY(SetRawSocketCapability(false));
        LinuxEchoTest echoTest;
        QVERIFY(echoTest.echo(neighbour.toStdString(), 2, 1.0));
        QCOMPARE(QString::fromLatin1(MethodName(echoTest.lastMethod())), expectedMethod);
        // Behind r1 and r2: the Time-exceeded from r2 must not count for any method.
        QVERIFY(!echoTest.echo("10.71.3.2", 2, 1.0));
        QCOMPARE(QString::fromLatin1(MethodName(echoTest.lastMethod())), expectedMethod);
    }

    void nothingUsableMeansNoAnswer()
    {
        QVERIFY(EnterNetworkOf(plainNode_));
        QVERIFY(SetRawSocketCapability(false));
        LinuxEchoTest echoTest({EchoMethod::DatagramSocket, EchoMethod::RawSocket});
        QVERIFY(!echoTest.echo("10.72.1.254", 2, 1.0));
        QCOMPARE(echoTest.lastMethod(), std::nullopt);
    }

    void refusesTextThatIsNoAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("hops");
        QTest::newRow("empty") << "" << 2;
        QTest::newRow("word") << "gateway" << 2;
        QTest::newRow("three parts (inet_aton reads 10.71.0.1)") << "10.71.1" << 2;
        QTest::newRow("five parts") << "10.71.1.254.1" << 2;
        QTest::newRow("part above 255") << "10.71.1.256" << 2;
        QTest::newRow("trailing letter") << "10.71.1.254a" << 2;
        QTest::newRow("trailing blank") << "10.71.1.254 " << 2;
        QTest::newRow("negative part") << "10.71.-1.254" << 2;
        QTest::newRow("hex part") << "0x0a.71.1.254" << 2;
        QTest::newRow("one number") << "172425726" << 2;
        QTest::newRow("limited broadcast") << "255.255.255.255" << 2;
        QTest::newRow("this host") << "0.0.0.0" << 2;
        QTest::newRow("multicast") << "224.0.0.1" << 2;
        QTest::newRow("no hops") << "10.71.1.254" << 0;
        QTest::newRow("too many hops") << "10.71.1.254" << 256;
    }
    void refusesTextThatIsNoAddress()
    {
        QFETCH(QString, text);
        QFETCH(int, hops);
        LinuxEchoTest echoTest;
        const long long before = OutgoingEchoRequests();
        QVERIFY(before >= 0);
        QVERIFY(!echoTest.echo(text.toStdString(), hops, 1.0));
        QCOMPARE(echoTest.lastMethod(), std::nullopt);
        QCOMPARE(OutgoingEchoRequests(), before);
    }

private:
    QByteArray plainNode_;
};

HOPTRACE_TEST(LinuxEchoNetTest)
#include "LinuxEchoNetTest.moc"
