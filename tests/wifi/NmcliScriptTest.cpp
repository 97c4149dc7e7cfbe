#include "TestMain.h"
#include "FakeNmcli.h"

#include "platform/NmcliProvisioningCommands.h"
#include "wifi/SetupApVariant.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

std::string LineFor(int run, const std::string& ssid)
{
    const NmcliProvisioningCommands commands;
    switch (run) {
    case 1: return commands.stopWlan();
    case 2: return commands.startWlan();
    case 3: return commands.addProfile("/unused/TKProfile.txt", ssid, kSetupApPassphrase);
    default: return commands.connect(ssid);
    }
}

} // namespace

class NmcliScriptTest : public QObject {
    Q_OBJECT
private:
    struct Outcome {
        int exitCode = -1;
        QStringList calls; // the arguments of each nmcli call, joined by "|"
        QStringList environments;
    };

    // Runs the line as the runner does: as the one line of a script file, by /bin/sh,
    // with nothing but the fake on PATH, so the real nmcli cannot be reached.
    Outcome runLine(const std::string& line, const QStringList& replies)
    {
        Outcome outcome;
        FakeNmcli nmcli;
        for (int i = 0; i < replies.size(); ++i)
            nmcli.reply(i + 1, replies[i].section(u'|', 0, 0).toInt(), replies[i].section(u'|', 1));
        QTemporaryDir scriptDir(QDir::tempPath() + QStringLiteral("/hoptrace script XXXXXX"));
        const QString script = scriptDir.path() + QStringLiteral("/TK.bat");
        WriteFile(script, QByteArray::fromStdString(line + "\n"));

        QProcess shell;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), nmcli.binDir());
        environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        shell.setProcessEnvironment(environment);
        shell.start(QStringLiteral("/bin/sh"), {script});
        if (!shell.waitForFinished(30000))
            return outcome;
        outcome.exitCode = shell.exitCode();
        outcome.calls = nmcli.calls();
        outcome.environments = nmcli.environments();
        return outcome;
    }

private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<int>("run");
        QTest::addColumn<bool>("useCurrentSetupAp");
        QTest::addColumn<QStringList>("replies"); // "exit code|message" per nmcli call
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("calls");

        const QString add = QStringLiteral(
            "connection|add|type|wifi|con-name|%1|ssid|%1|connection.autoconnect|no|wifi.mode|infrastructure|"
            "wifi.hidden|yes|wifi.cloned-mac-address|permanent|wifi-sec.key-mgmt|wpa-psk|wifi-sec.proto|rsn|"
            "wifi-sec.pairwise|ccmp|wifi-sec.group|ccmp|wifi-sec.psk-flags|0|wifi-sec.psk|guestPYLO");

        QTest::newRow("radio off") << 1 << true << QStringList{"0"} << 0 << QStringList{"radio|wifi|off"};
        QTest::newRow("radio off refused")
            << 1 << true
            << QStringList{"1|Error: failed to set Wi-Fi radio: Not authorized to perform this operation"} << 5
            << QStringList{"radio|wifi|off"};
        QTest::newRow("radio on, service not running")
            << 2 << true << QStringList{"8|Error: NetworkManager is not running."} << 8
            << QStringList{"radio|wifi|on"};
        QTest::newRow("radio on refused by D-Bus error name")
            << 2 << false << QStringList{"1|Error: org.freedesktop.NetworkManager.PermissionDenied"} << 5
            << QStringList{"radio|wifi|on"};
        QTest::newRow("profile replaces an old one")
            << 3 << true << QStringList{"0", "0"} << 0
            << QStringList{"connection|delete|id|TAVIK-MUREL", add.arg("TAVIK-MUREL")};
        QTest::newRow("profile without an old one")
            << 3 << false << QStringList{"10|Error: unknown connection 'TAVIK MUREL'.", "0"} << 0
            << QStringList{"connection|delete|id|TAVIK MUREL", add.arg("TAVIK MUREL")};
        QTest::newRow("profile refused")
            << 3 << true
            << QStringList{"10|Error: unknown connection 'TAVIK-MUREL'.",
                           "1|Error: Failed to add 'TAVIK-MUREL' connection: Insufficient privileges"}
            << 5 << QStringList{"connection|delete|id|TAVIK-MUREL", add.arg("TAVIK-MUREL")};
        QTest::newRow("connect") << 4 << true << QStringList{"0"} << 0
                                 << QStringList{"connection|up|id|TAVIK-MUREL"};
        QTest::newRow("connect refused")
            << 4 << false << QStringList{"4|Error: Connection activation failed: Not authorized to control networking."}
            << 5 << QStringList{"connection|up|id|TAVIK MUREL"};
        QTest::newRow("connect, network not found")
            << 4 << true
            << QStringList{"4|Error: Connection activation failed: The Wi-Fi network could not be found"} << 4
            << QStringList{"connection|up|id|TAVIK-MUREL"};
        QTest::newRow("success that mentions authorization stays success")
            << 4 << true << QStringList{"0|Warning: not authorized to read secrets"} << 0
            << QStringList{"connection|up|id|TAVIK-MUREL"};
    }
    void lines()
    {
        QFETCH(int, run);
        QFETCH(bool, useCurrentSetupAp);
        QFETCH(QStringList, replies);
        QFETCH(int, exitCode);
        QFETCH(QStringList, calls);
        const Outcome outcome = runLine(LineFor(run, SetupApVariantFor(useCurrentSetupAp).ssid), replies);
        QCOMPARE(outcome.calls, calls);
        QCOMPARE(outcome.exitCode, exitCode);
        // Untranslated messages, and no terminal to ask a password on.
        for (const QString& environment : outcome.environments)
            QCOMPARE(environment, QStringLiteral("C|/dev/null"));
    }

    // Quotes, dollars and backquotes in a name reach nmcli as they are.
    void nameIsOneLiteralWord()
    {
        const std::string name = "it's $HOME `id` \"x\"";
        const Outcome outcome = runLine(NmcliProvisioningCommands().connect(name), {"0"});
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.calls, QStringList{"connection|up|id|" + QString::fromStdString(name)});
    }
};

HOPTRACE_TEST(NmcliScriptTest)
#include "NmcliScriptTest.moc"
