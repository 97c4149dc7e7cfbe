#include "TestMain.h"

#include "PrivateNetwork.h"
#include "platform/linux/LinuxAdapterList.h"

#include <QProcess>
#include <QTest>

#include <net/if.h>

namespace {

bool Ip(const QString& arguments, bool quiet = false)
{
    QProcess ip;
    if (quiet)
        ip.setStandardErrorFile(QProcess::nullDevice());
    else
        ip.setProcessChannelMode(QProcess::ForwardedChannels);
    ip.start(QStringLiteral("ip"), arguments.split(' '));
    return ip.waitForFinished() && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
}

QString Describe(const AdapterInfo& adapter)
{
    return QStringLiteral("%1 #%2 %3/%4 gw %5")
        .arg(QString::fromStdString(adapter.description))
        .arg(adapter.interfaceIndex)
        .arg(QString::fromStdString(adapter.ipAddress), QString::fromStdString(adapter.ipMask),
             QString::fromStdString(adapter.gateway));
}

} // namespace

// Runs inside a private network (started by LinuxNetworkRunsTest): "wan" and "lan" are veth
// adapters with IPv4, "bare" has none, "vpn" is a tun device (no hardware address). The first
// three are made in that order, so their interface indexes rise while their names fall.
class LinuxAdapterListNetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!PrivateNetwork::inside())
            QSKIP("runs only inside a private network (see LinuxNetworkRunsTest)");
        QVERIFY(PrivateNetwork::run({"node", "peer"}));
        QVERIFY(PrivateNetwork::run({"link", "self", "wan", "10.81.1.10/24", "peer", "p1", "10.81.1.1/24"}));
        QVERIFY(PrivateNetwork::run({"link", "self", "lan", "10.82.2.10/16", "peer", "p2", "10.82.2.1/16"}));
        QVERIFY(PrivateNetwork::run({"link", "self", "bare", "-", "peer", "p3", "-"}));
        QVERIFY(Ip(QStringLiteral("tuntap add dev vpn mode tun")));
        QVERIFY(Ip(QStringLiteral("addr add 10.83.0.1/24 dev vpn")));
    }
    void cleanup()
    {
        // Undoes whatever the row added; most of it is not there.
        Ip(QStringLiteral("route flush proto boot"), true);
        Ip(QStringLiteral("route flush table 100"), true);
        Ip(QStringLiteral("addr del 10.81.1.11/24 dev wan"), true);
    }

    void listsAdaptersWithGateways_data()
    {
        QTest::addColumn<QStringList>("setup"); // ip commands
        QTest::addColumn<QString>("wanAddress");
        QTest::addColumn<QString>("wanGateway");
        QTest::addColumn<QString>("lanGateway");
        QTest::newRow("no default route") << QStringList{} << "10.81.1.10" << "" << "";
        QTest::newRow("default route via wan")
            << QStringList{"route add default via 10.81.1.1"} << "10.81.1.10" << "10.81.1.1" << "";
        QTest::newRow("default route via lan")
            << QStringList{"route add default via 10.82.2.1"} << "10.81.1.10" << "" << "10.82.2.1";
        QTest::newRow("multipath default route")
            << QStringList{"route add default nexthop via 10.81.1.1 dev wan nexthop via 10.82.2.1 dev lan"}
            << "10.81.1.10" << "10.81.1.1" << "10.82.2.1";
        QTest::newRow("default routes with metrics on both")
            << QStringList{"route add default via 10.81.1.1 metric 10", "route add default via 10.82.2.1 metric 20"}
            << "10.81.1.10" << "10.81.1.1" << "10.82.2.1";
        QTest::newRow("first of two default routes on one adapter")
            << QStringList{"route add 10.81.1.2 dev wan", "route add default via 10.81.1.1 metric 5",
                           "route add default via 10.81.1.2 metric 50"}
            << "10.81.1.10" << "10.81.1.1" << "";
        QTest::newRow("default route in another table is ignored")
            << QStringList{"route add default via 10.81.1.1 table 100"} << "10.81.1.10" << "" << "";
        QTest::newRow("other routes are ignored")
            << QStringList{"route add 10.99.0.0/16 via 10.81.1.1", "route add 10.98.0.0/16 via 10.82.2.1"}
            << "10.81.1.10" << "" << "";
        QTest::newRow("default route without gateway")
            << QStringList{"route add default dev lan"} << "10.81.1.10" << "" << "";
        QTest::newRow("blackhole default is no gateway")
            << QStringList{"route add blackhole default"} << "10.81.1.10" << "" << "";
        QTest::newRow("second address does not replace the first")
            << QStringList{"addr add 10.81.1.11/24 dev wan"} << "10.81.1.10" << "" << "";
    }
    void listsAdaptersWithGateways()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, wanAddress);
        QFETCH(QString, wanGateway);
        QFETCH(QString, lanGateway);
        for (const QString& command : setup)
            QVERIFY2(Ip(command), qPrintable(command));

        LinuxAdapterList list;
        const auto adapters = list.adapters();
        QVERIFY(adapters.has_value());
        QStringList seen;
        for (const AdapterInfo& adapter : *adapters)
            seen << Describe(adapter);
        const QStringList expected{
            Describe({"wan", wanAddress.toStdString(), "255.255.255.0", wanGateway.toStdString(),
                      static_cast<int>(if_nametoindex("wan"))}),
            Describe({"lan", "10.82.2.10", "255.255.0.0", lanGateway.toStdString(),
                      static_cast<int>(if_nametoindex("lan"))}),
            Describe({"bare", "0.0.0.0", "0.0.0.0", "", static_cast<int>(if_nametoindex("bare"))}),
            Describe({"vpn", "10.83.0.1", "255.255.255.0", "", static_cast<int>(if_nametoindex("vpn"))}),
        };
        // Loopback is left out, the rest comes in interface index order.
        QCOMPARE(seen, expected);
    }
};

HOPTRACE_TEST(LinuxAdapterListNetTest)
#include "LinuxAdapterListNetTest.moc"
