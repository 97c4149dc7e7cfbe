#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"
#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/LinuxTempDir.h"
#include "wifi/SetupApVariant.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

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

const QString kAdd = QStringLiteral(
    "connection|add|type|wifi|con-name|%1|ssid|%1|connection.autoconnect|no|wifi.mode|infrastructure|wifi.hidden|yes|"
    "wifi.cloned-mac-address|permanent|wifi-sec.key-mgmt|wpa-psk|wifi-sec.proto|rsn|wifi-sec.pairwise|ccmp|"
    "wifi-sec.group|ccmp|wifi-sec.psk-flags|0|wifi-sec.psk|guestPYLO");
const QString kRefusedRadio = QStringLiteral(
    "Error: failed to set Wi-Fi radio: Not authorized to perform this operation");

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// For its lifetime the fake nmcli is alone on PATH, TMPDIR is an empty directory, both
// in a directory whose path has blanks, and LC_ALL is not C.
struct FakeNmcli {
    explicit FakeNmcli(const QStringList& replies)
    {
        QDir().mkpath(bin());
        QDir().mkpath(tmp());
        Write(bin() + "/nmcli", kFakeNmcli);
        QFile::setPermissions(bin() + "/nmcli", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Write(bin() + "/replies", replies.join(u'\n').toUtf8() + '\n');
        for (const auto& [name, value] :
             {std::pair<const char*, QString>{"PATH", bin()}, {"TMPDIR", tmp()}, {"LC_ALL", "de_DE.UTF-8"}}) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, value.toLocal8Bit());
        }
    }
    ~FakeNmcli()
    {
        for (const auto& [name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    QString bin() const { return dir.path() + "/bin"; }
    QString tmp() const { return dir.path() + "/tmp"; }
    QStringList calls() const
    {
        QFile file(bin() + "/calls");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                              : QStringList();
    }
    const QTemporaryDir dir{QDir::tempPath() + "/hoptrace nmcli XXXXXX"};
    std::vector<std::pair<const char*, QByteArray>> saved;
};

// The real runner, noting each script's directory and that directory's permissions.
struct ObservingRunner final : CommandRunner {
    int run(const std::string& scriptPath, double timeoutSeconds) override
    {
        dirs.push_back(fs::path(scriptPath).parent_path());
        modes.push_back(fs::status(dirs.back()).permissions() & fs::perms::all);
        return real.run(scriptPath, timeoutSeconds);
    }
    void cancel() override { real.cancel(); }
    LinuxCommandRunner real;
    std::vector<fs::path> dirs;
    std::vector<fs::perms> modes;
};

} // namespace

class NmcliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each line run as the one line of a script by the runner, against the fake nmcli:
    // a refusal for lack of authorization ends in exit code 5, other codes pass.
    void lines_data()
    {
        QTest::addColumn<int>("run");
        QTest::addColumn<QString>("ssid");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("radio off refused")
            << 1 << "TAVIK-MUREL" << QStringList{"1|" + kRefusedRadio} << 5 << QStringList{"radio|wifi|off"};
        QTest::newRow("radio on, service not running")
            << 2 << "TAVIK MUREL" << QStringList{"8|Error: NetworkManager is not running."} << 8
            << QStringList{"radio|wifi|on"};
        QTest::newRow("profile, no old one to replace")
            << 3 << "TAVIK MUREL" << QStringList{"10|Error: unknown connection 'TAVIK MUREL'.", "0"} << 0
            << QStringList{"connection|delete|id|TAVIK MUREL", kAdd.arg("TAVIK MUREL")};
        QTest::newRow("profile refused")
            << 3 << "TAVIK-MUREL"
            << QStringList{"0", "1|Error: Failed to add 'TAVIK-MUREL' connection: Insufficient privileges"} << 5
            << QStringList{"connection|delete|id|TAVIK-MUREL", kAdd.arg("TAVIK-MUREL")};
        QTest::newRow("connect refused by D-Bus error name")
            << 4 << "TAVIK MUREL" << QStringList{"1|Error: org.freedesktop.NetworkManager.PermissionDenied"} << 5
            << QStringList{"connection|up|id|TAVIK MUREL"};
        QTest::newRow("quotes in the name; a success that mentions authorization")
            << 4 << "it's $HOME `id` \"x\"" << QStringList{"0|Warning: not authorized to read secrets"} << 0
            << QStringList{"connection|up|id|it's $HOME `id` \"x\""};
    }
    void lines()
    {
        QFETCH(int, run);
        QFETCH(QString, ssid);
        QFETCH(QStringList, replies);
        QFETCH(int, exitCode);
        QFETCH(QStringList, calls);
        const NmcliProvisioningCommands commands;
        const std::string name = ssid.toStdString();
        const std::string line = run == 1 ? commands.stopWlan()
            : run == 2                    ? commands.startWlan()
            : run == 3                    ? *commands.addProfile("/unused", name, kSetupApPassphrase)
                                          : *commands.connect(name);
        FakeNmcli nmcli(replies);
        const QString script = nmcli.tmp() + "/TK.bat";
        Write(script, QByteArray::fromStdString(line + commands.lineEnd()));
        QCOMPARE(LinuxCommandRunner().run(script.toStdString(), 30.0), exitCode);
        QCOMPARE(nmcli.calls(), calls);
    }

    // The sequence with the real private directory and runner: the refused radio becomes
    // the admin text; the directory lies in TMPDIR (blanks in its path), is 0700 at every
    // run and is gone at the end.
    void sequence()
    {
        FakeNmcli nmcli({"1|" + kRefusedRadio, "1|" + kRefusedRadio, "10|", "0", "0"});
        LinuxTempDir tempDir;
        ObservingRunner runner;
        WindowRig rig;
        rig.fakes.tempDirOverride = &tempDir;
        rig.fakes.commandsOverride = &runner;
        rig.fakes.echo.costSeconds = 1.0;
        rig.load();
        rig.finishSearch();
        WindowInput::Click(*rig.c().cmdWiFiConnect);

        QCOMPARE(rig.c().labStatus->text(),
                 QStringLiteral("Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'"));
        QCOMPARE(nmcli.calls(),
                 (QStringList{"radio|wifi|off", "radio|wifi|on", "connection|delete|id|TAVIK-MUREL",
                              kAdd.arg("TAVIK-MUREL"), "connection|up|id|TAVIK-MUREL"}));
        QCOMPARE(runner.modes, std::vector<fs::perms>(4, fs::perms::owner_all));
        QCOMPARE(runner.dirs, std::vector<fs::path>(4, runner.dirs.front()));
        QCOMPARE(runner.dirs.front().parent_path(), fs::path(nmcli.tmp().toStdString()));
        QVERIFY(fs::is_empty(nmcli.tmp().toStdString()));
    }
};

HOPTRACE_TEST(NmcliTest)
#include "NmcliTest.moc"
