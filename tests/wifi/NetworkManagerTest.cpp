#include "TestMain.h"
#include "ScanTable.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"
#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/LinuxTempDir.h"
#include "platform/linux/NetworkManagerWlan.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

// Logs the arguments of each call joined by "|" (prefixed with LC_ALL when it is not C)
// and answers with the n-th line of the replies file: "exit code|message to stderr".
const char kFakeNmcli[] = R"sh(#!/bin/sh
PATH=/usr/bin:/bin dir=$(dirname "$0")
echo >> "$dir/count"; n=$(wc -l < "$dir/count")
[ "${LC_ALL-}" = C ] || printf 'LC_ALL=%s: ' "${LC_ALL-}" >> "$dir/calls"
line=$(printf '%s|' "$@"); printf '%s\n' "${line%|}" >> "$dir/calls"
reply=$(sed -n "${n}p" "$dir/replies")
case $reply in *'|'*) printf '%s\n' "${reply#*|}" >&2;; esac
code=${reply%%|*}; exit "${code:-0}"
)sh";

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// For its lifetime the fake nmcli is alone on PATH, TMPDIR is an empty directory, both
// in a directory whose path has blanks, and LC_ALL is not C.
struct FakeNmcli {
    explicit FakeNmcli(const QStringList& replies)
    {
        QDir().mkpath(dir.path() + "/bin");
        QDir().mkpath(tmp());
        Write(dir.path() + "/bin/nmcli", kFakeNmcli);
        Write(dir.path() + "/bin/replies", replies.join(u'\n').toUtf8() + '\n');
        for (const auto& [name, value] : {std::pair<const char*, QString>{"PATH", dir.path() + "/bin"},
                                          {"TMPDIR", tmp()},
                                          {"LC_ALL", "de_DE.UTF-8"}}) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, value.toLocal8Bit());
        }
    }
    ~FakeNmcli()
    {
        for (const auto& [name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    QString tmp() const { return dir.path() + "/tmp"; }
    QStringList calls() const
    {
        QFile file(dir.path() + "/bin/calls");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                              : QStringList();
    }
    const QTemporaryDir dir{QDir::tempPath() + "/hoptrace nmcli XXXXXX"};
    std::vector<std::pair<const char*, QByteArray>> saved;
};

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");

// True only on the bus that run-on-private-bus.sh made to stand in for the system bus.
bool OnPrivateSystemBus()
{
    const QByteArray system = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    return qgetenv("HOPTRACE_PRIVATE_SYSTEM_BUS") == "1" && !system.isEmpty()
        && system == qgetenv("DBUS_SESSION_BUS_ADDRESS");
}

bool ServiceThere()
{
    QDBusConnectionInterface* bus = QDBusConnection::systemBus().interface();
    return bus && bus->isServiceRegistered(kService).value();
}

} // namespace

// The gateway sequence from the window with the real private directory and runner,
// against a recording fake nmcli: refusals for lack of authorization, whatever their
// wording, end in exit code 5 and so in the admin text; other codes pass through.
class NmcliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sequence_data()
    {
        Columns<QString, bool>("firstReply", "admin");
        QTest::newRow("radio refused") << "1|Error: failed to set Wi-Fi radio: Not authorized to perform this operation"
                                       << true;
        QTest::newRow("insufficient privileges") << "1|Error: Insufficient privileges" << true;
        QTest::newRow("D-Bus error name") << "4|Error: org.freedesktop.NetworkManager.PermissionDenied" << true;
        QTest::newRow("success mentioning authorization") << "0|Warning: not authorized to read secrets" << false;
        QTest::newRow("service not running") << "8|Error: NetworkManager is not running." << false;
    }
    void sequence()
    {
        QFETCH(QString, firstReply);
        QFETCH(bool, admin);
        FakeNmcli nmcli({firstReply, "0", "10|Error: unknown connection 'TAVIK-MUREL'.", "0", "0"});
        LinuxTempDir tempDir;
        LinuxCommandRunner runner;
        WindowRig rig;
        rig.fakes.tempDirOverride = &tempDir;
        rig.fakes.commandsOverride = &runner;
        rig.load();
        rig.finishSearch();
        WindowInput::Click(*rig.c().cmdWiFiConnect);

        QCOMPARE(rig.c().labStatus->text(),
                 admin ? "Wlan service could not be restarted. Try to run this app 'AS "
                         "ADMINISTRATOR'"
                       : "NOT Connected to TAVIK-MUREL");
        QCOMPARE(nmcli.calls(),
                 (QStringList{"radio|wifi|off", "radio|wifi|on", "connection|delete|id|TAVIK-MUREL",
                              "connection|add|type|wifi|con-name|TAVIK-MUREL|ssid|TAVIK-MUREL|connection.autoconnect|"
                              "no|wifi.mode|infrastructure|wifi.hidden|yes|wifi.cloned-mac-address|permanent|wifi-sec."
                              "key-mgmt|wpa-psk|wifi-sec.proto|rsn|wifi-sec.pairwise|ccmp|wifi-sec.group|ccmp|wifi-"
                              "sec.psk-flags|0|wifi-sec.psk|guestPYLO",
                              "connection|up|id|TAVIK-MUREL"}));
        QVERIFY(QDir(nmcli.tmp()).isEmpty()); // the private directory is gone
    }

    void quotingKeepsTheNameWhole()
    {
        FakeNmcli nmcli({"0"});
        const NmcliProvisioningCommands commands;
        const QString script = nmcli.tmp() + "/TK.bat";
        Write(script, QByteArray::fromStdString(*commands.connect("it's $HOME `id` \"x\"") + commands.lineEnd()));
        QCOMPARE(LinuxCommandRunner().run(script.toStdString(), 30.0), 0);
        QCOMPARE(nmcli.calls(), QStringList{"connection|up|id|it's $HOME `id` \"x\""});
    }
};

// The scan table against python-dbusmock's NetworkManager, only ever on the private bus
// of run-on-private-bus.sh. No client: no service at all. No adapter: an Ethernet device
// only; it comes first in every other row too, and a second Wi-Fi device has a network
// of its own that must not be listed.
class NetworkManagerScanTest : public QObject {
    Q_OBJECT
    QProcess mock_;
    int accessPoints_ = 0;

    void stopMock()
    {
        if (mock_.state() == QProcess::NotRunning)
            return;
        mock_.terminate();
        mock_.waitForFinished(10000);
        QVERIFY(QTest::qWaitFor([] { return !ServiceThere(); }, 10000));
    }
    QString mockCall(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, "/org/freedesktop/NetworkManager",
                                                           "org.freedesktop.DBus.Mock", method);
        call.setArguments(arguments);
        const QDBusMessage reply = QDBusConnection::systemBus().call(call);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << reply.errorMessage();
        return reply.arguments().value(0).toString();
    }
    void addAccessPoint(const QString& device, const std::string& ssid, unsigned strength)
    {
        const QString path = mockCall("AddAccessPoint",
                                      {device, QStringLiteral("ap%1").arg(++accessPoints_), "x", "00:11:22:33:44:55",
                                       2u, 2437u, 54000u, QVariant::fromValue(uchar(strength)), 0x100u});
        // The mock takes text; the SSID is set afterwards as the raw bytes it is.
        mockCall("SetProperty",
                 {path, "org.freedesktop.NetworkManager.AccessPoint", "Ssid",
                  QVariant::fromValue(QDBusVariant(QByteArray::fromStdString(ssid)))});
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!OnPrivateSystemBus())
            QSKIP("runs only on the private bus of run-on-private-bus.sh");
    }
    void cleanupTestCase() { stopMock(); }

    void scan_data() { AddScanRows(); }
    void scan()
    {
        const ScanRow& row = CurrentScanRow();
        stopMock(); // a fresh mock for every row: its Reset loses the manager's properties
        if (row.adapters >= 0) {
            mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "-t", "networkmanager"});
            QVERIFY(QTest::qWaitFor(ServiceThere, 20000));
            mockCall("AddEthernetDevice", {"eth0", "eth0", 100});
        }
        QStringList devices;
        for (int i = 0; i < row.adapters; ++i)
            devices << mockCall("AddWiFiDevice",
                                {QStringLiteral("wlan%1").arg(i), QStringLiteral("wlan%1").arg(i), 30});
        for (const WlanNetwork& network : row.networks)
            addAccessPoint(devices.value(0), network.ssid, network.signalQuality);
        if (devices.size() > 1)
            addAccessPoint(devices[1], "Second", 50);
        NetworkManagerWlan wlan;
        RunScanRow(wlan);
    }
};

HOPTRACE_TEST(NmcliTest)
HOPTRACE_TEST_WHEN(NetworkManagerScanTest, OnPrivateSystemBus)
#include "NetworkManagerTest.moc"
