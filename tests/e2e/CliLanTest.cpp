#include "TestMain.h"

#include "PrivateNetwork.h"
#include "SimulatorProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QUdpSocket>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Exit code -1: it crashed or ran for more than a minute (and was killed).
CliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(HOPTRACE_CLI), arguments);
    const bool ended = process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    process.waitForFinished();
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

// One device as "address:port NIC #nic nic_name subnet_mismatch duplicate_address same_address_as".
QString Summary(const QMap<QString, QString>& d)
{
    return QStringList{d["address"] + ':' + d["port"], "NIC #" + d["nic"],     d["nic_name"],
                       d["subnet_mismatch"],           d["duplicate_address"], d["same_address_as"]}
        .join(' ');
}

// A JSON device's values as the CSV writes them: booleans "yes"/"no", lists joined by blanks.
QMap<QString, QString> Fields(const QJsonObject& device)
{
    QMap<QString, QString> fields;
    for (auto it = device.begin(); it != device.end(); ++it) {
        QStringList items;
        for (const QJsonValue& item : it->toArray())
            items << item.toString();
        fields[it.key()] = it->isBool() ? (it->toBool() ? "yes" : "no")
            : it->isDouble()            ? QString::number(it->toInt())
            : it->isArray()             ? items.join(' ')
                                        : it->toString();
    }
    return fields;
}

const char* const kMacA = "00:08:DC:1A:00:01";
const char* const kMacB = "00:08:DC:1A:00:02";
const char* const kMacC = "00:08:DC:2B:00:03";
const char* const kMacD = "00:08:DC:2B:00:04";

} // namespace

// Runs inside the simulated LAN (lan1 192.168.1.10/24, lan2 172.16.5.10/24).
class CliLanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!PrivateNetwork::onSimulatedLan())
            QSKIP("runs only inside the simulated LAN (see CliRuns)");
        // A and B share an address on lan1's side; D sits behind lan2 on no local network.
        QVERIFY(simulator_.start({
            QStringLiteral("name=WS-A,mac=%1,ip=192.168.1.20,port=80,iface=sw1").arg(kMacA),
            QStringLiteral("name=WS \"B\" lab,mac=%1,ip=192.168.1.20,port=81,iface=sw1").arg(kMacB),
            QStringLiteral("name=WS-C,mac=%1,ip=172.16.5.20,port=8080,iface=sw2").arg(kMacC),
            QStringLiteral("name=WS-D,mac=%1,ip=192.168.0.100,port=80,iface=sw2").arg(kMacD),
        }));
    }

    void listsEveryDeviceWithItsAdapterAndFlagsInBothFormats()
    {
        const QMap<QString, QString> expected{
            {kMacA, QStringLiteral("192.168.1.20:80 NIC #1 lan1 no yes %1").arg(kMacB)},
            {kMacB, QStringLiteral("192.168.1.20:81 NIC #1 lan1 no yes %1").arg(kMacA)},
            {kMacC, QStringLiteral("172.16.5.20:8080 NIC #2 lan2 no no ")},
            {kMacD, QStringLiteral("192.168.0.100:80 NIC #2 lan2 yes no ")},
        };
        const CliRun json = RunCli({"list", "--json", "--seconds", "2"});
        QCOMPARE(json.exitCode, 0);
        QMap<QString, QString> fromJson;
        for (const QJsonValue& device : QJsonDocument::fromJson(json.out).array())
            fromJson[device["mac"].toString()] = Summary(Fields(device.toObject()));
        QCOMPARE(fromJson, expected);

        // No value of these devices holds a comma; B's name holds quotes, doubled inside a quoted field.
        const CliRun csv = RunCli({"list", "--csv", "--seconds", "2"});
        QCOMPARE(csv.exitCode, 0);
        QStringList lines = QString::fromUtf8(csv.out).split("\r\n");
        QCOMPARE(lines.takeLast(), QString());
        const QStringList header = lines.takeFirst().split(',');
        QMap<QString, QString> fromCsv;
        for (const QString& line : lines) {
            QMap<QString, QString> fields;
            for (qsizetype i = 0; i < header.size(); ++i)
                fields[header[i]] = line.split(',').value(i);
            fromCsv[fields["mac"]] = Summary(fields);
            if (fields["mac"] == QLatin1String(kMacB))
                QCOMPARE(fields["host_name"], QString(R"("WS ""B"" lab")"));
        }
        QCOMPARE(fromCsv, expected);
    }

    // The default route leads to lan1; D answered on lan2, and only there can it be reached.
    void rebootReachesADeviceOffItsAdaptersNetwork()
    {
        const CliRun reboot = RunCli({"reboot", kMacD, "--wait", "15"});
        QVERIFY2(reboot.exitCode == 0 && reboot.out.contains("applied"), reboot.out + reboot.err);
    }

    void setIpMovesTheDeviceAndListsItThere()
    {
        const CliRun set = RunCli({"set-ip", kMacD, "--address", "172.16.5.60", "--mask", "255.255.255.0", "--gateway",
                                   "172.16.5.1", "--dns", "172.16.5.1", "--port", "8081", "--wait", "15"});
        QVERIFY2(set.exitCode == 0 && set.out.contains("applied"), set.out + set.err);
        const CliRun list = RunCli({"list", "--json", "--seconds", "2"});
        for (const QJsonValue& device : QJsonDocument::fromJson(list.out).array())
            if (device["mac"].toString() == QLatin1String(kMacD))
                QCOMPARE(Summary(Fields(device.toObject())), QString("172.16.5.60:8081 NIC #2 lan2 no no "));
    }

    void exitCodes_data()
    {
        Columns<QStringList, int, bool>("arguments", "exitCode", "portTaken");
        QTest::newRow("unknown verb") << QStringList{"frobnicate"} << 2 << false;
        QTest::newRow("no MAC") << QStringList{"reboot", "192.168.1.20"} << 2 << false;
        QTest::newRow("empty address") << QStringList{"set-ip",    kMacA,       "--address", "0.0.0.0", "--mask",
                                                      "255.0.0.0", "--gateway", "0.0.0.0",   "--dns",   "0.0.0.0"}
                                       << 2 << false;
        QTest::newRow("port 0") << QStringList{"set-dhcp", kMacA, "--port", "0"} << 2 << false;
        QTest::newRow("MAC range without Set IP") << QStringList{"set-dhcp", "00:0A:5B:20:00:04"} << 2 << false;
        QTest::newRow("json and csv") << QStringList{"list", "--json", "--csv"} << 2 << false;
        QTest::newRow("help") << QStringList{"set-ip", "--help"} << 0 << false;
        QTest::newRow("device not found") << QStringList{"reboot", "00:08:DC:99:99:99", "--seconds", "1"} << 1 << false;
        QTest::newRow("port 8080 in use") << QStringList{"list", "--seconds", "1"} << 3 << true;
        QTest::newRow("ping: no address") << QStringList{"ping", "192.168.1.256"} << 2 << false;
        QTest::newRow("ping: in use") << QStringList{"ping", "192.168.1.1"} << 1 << false;
        QTest::newRow("ping: free") << QStringList{"ping", "192.168.1.99"} << 0 << false;
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, portTaken);
        QUdpSocket holder; // another program that will not share the port
        if (portTaken)
            QVERIFY(holder.bind(QHostAddress::AnyIPv4, 8080, QAbstractSocket::DontShareAddress));
        const CliRun run = RunCli(arguments);
        QVERIFY2(run.exitCode == exitCode, run.out + run.err);
    }

private:
    SimulatorProcess simulator_;
};

class CliRuns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLineOnTheLan() { PrivateNetwork::runTestClass("CliLanTest", PrivateNetwork::Kind::SimulatedLan); }
};

HOPTRACE_TEST(CliRuns)
HOPTRACE_TEST_WHEN(CliLanTest, PrivateNetwork::onSimulatedLan)
#include "CliLanTest.moc"
