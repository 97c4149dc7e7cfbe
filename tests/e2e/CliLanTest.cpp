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

CliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(HOPTRACE_CLI), arguments);
    CliRun run;
    if (!process.waitForFinished(60'000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// RFC 4180: quoted fields may hold commas, doubled quotes and line breaks.
QList<QStringList> ParseCsv(const QString& text)
{
    QList<QStringList> rows{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.last() << field;
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.last() << field;
            field.clear();
            rows << QStringList{};
            ++i;
        } else {
            field += c;
        }
    }
    rows.removeLast(); // after the last CR LF
    return rows;
}

// One device as "address nic nic_name subnet_mismatch duplicate_address same_address_as".
QString Summary(const QJsonObject& d)
{
    QStringList same;
    for (const QJsonValue& mac : d["same_address_as"].toArray())
        same << mac.toString();
    return QStringLiteral("%1:%2 NIC #%3 %4 %5 %6 %7")
        .arg(d["address"].toString())
        .arg(d["port"].toInt())
        .arg(d["nic"].toInt())
        .arg(d["nic_name"].toString(), d["subnet_mismatch"].toBool() ? "mismatch" : "-",
             d["duplicate_address"].toBool() ? "duplicate" : "-", same.join(' '));
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
            {kMacA, QStringLiteral("192.168.1.20:80 NIC #1 lan1 - duplicate %1").arg(kMacB)},
            {kMacB, QStringLiteral("192.168.1.20:81 NIC #1 lan1 - duplicate %1").arg(kMacA)},
            {kMacC, QStringLiteral("172.16.5.20:8080 NIC #2 lan2 - - ")},
            {kMacD, QStringLiteral("192.168.0.100:80 NIC #2 lan2 mismatch - ")},
        };
        const CliRun json = RunCli({"list", "--json", "--seconds", "2"});
        QCOMPARE(json.exitCode, 0);
        QMap<QString, QString> fromJson;
        for (const QJsonValue& device : QJsonDocument::fromJson(json.out).array())
            fromJson[device["mac"].toString()] = Summary(device.toObject());
        QCOMPARE(fromJson, expected);

        const CliRun csv = RunCli({"list", "--csv", "--seconds", "2"});
        QCOMPARE(csv.exitCode, 0);
        const QList<QStringList> rows = ParseCsv(QString::fromUtf8(csv.out));
        QVERIFY(rows.size() == 5);
        QMap<QString, QString> fromCsv;
        for (const QStringList& row : rows.mid(1)) {
            QJsonObject device;
            for (qsizetype i = 0; i < rows[0].size(); ++i)
                device[rows[0][i]] = row.value(i);
            device["port"] = row.value(rows[0].indexOf("port")).toInt();
            device["nic"] = row.value(rows[0].indexOf("nic")).toInt();
            device["subnet_mismatch"] = device["subnet_mismatch"] == QStringLiteral("yes");
            device["duplicate_address"] = device["duplicate_address"] == QStringLiteral("yes");
            device["same_address_as"] = QJsonArray::fromStringList(
                device["same_address_as"].toString().split(' ', Qt::SkipEmptyParts));
            fromCsv[device["mac"].toString()] = Summary(device);
            if (device["mac"] == QString(kMacB))
                QCOMPARE(device["host_name"].toString(), QString("WS \"B\" lab"));
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
                QCOMPARE(Summary(device.toObject()), QString("172.16.5.60:8081 NIC #2 lan2 - - "));
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
