#include "TestMain.h"
#include "FakeNmcli.h"
#include "WifiTestPanel.h"

#include "fakes/FakeServices.h"
#include "fakes/RecordingBusyState.h"
#include "platform/NmcliProvisioningCommands.h"
#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/LinuxTempDir.h"
#include "wifi/ConnectionSequence.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const QString kRefusedRadio =
    QStringLiteral("Error: failed to set Wi-Fi radio: Not authorized to perform this operation");
const QString kNoSuchProfile = QStringLiteral("Error: unknown connection 'TAVIK-MUREL'.");

// The real private directory, observed: its mode when made and at every run.
class ObservingTempDir final : public TempDir {
public:
    std::optional<std::string> systemTempDir() override { return real_.systemTempDir(); }
    std::optional<std::string> createPrivateDir() override
    {
        std::optional<std::string> dir = real_.createPrivateDir();
        if (dir)
            created.push_back(*dir);
        return dir;
    }
    void removePrivateDir(const std::string& path) override { real_.removePrivateDir(path); }

    std::vector<std::string> created;

private:
    LinuxTempDir real_;
};

class ObservingRunner final : public CommandRunner {
public:
    int run(const std::string& scriptPath, double timeoutSeconds) override
    {
        directoryModes.push_back(fs::status(fs::path(scriptPath).parent_path()).permissions() & fs::perms::all);
        return real_.run(scriptPath, timeoutSeconds);
    }
    std::vector<fs::perms> directoryModes;

private:
    LinuxCommandRunner real_;
};

// PATH holds only the fake nmcli and TMPDIR a directory whose path has blanks, for
// the lifetime of this object.
class ProcessEnvironment final {
public:
    explicit ProcessEnvironment(const QString& path, const QString& tmpdir)
        : oldPath_(qgetenv("PATH")), oldTmpdir_(qgetenv("TMPDIR")), hadTmpdir_(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("PATH", path.toLocal8Bit());
        qputenv("TMPDIR", tmpdir.toLocal8Bit());
    }
    ~ProcessEnvironment()
    {
        qputenv("PATH", oldPath_);
        if (hadTmpdir_)
            qputenv("TMPDIR", oldTmpdir_);
        else
            qunsetenv("TMPDIR");
    }

private:
    QByteArray oldPath_;
    QByteArray oldTmpdir_;
    bool hadTmpdir_;
};

} // namespace

// The sequence with the real private directory and command runner running the nmcli
// lines against a fake nmcli: the refusals become the exit codes the sequence reads.
class LinuxProvisioningTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sequence_data()
    {
        QTest::addColumn<QStringList>("replies"); // "exit code|message" per nmcli call
        QTest::addColumn<bool>("gatewayAnswers");
        QTest::addColumn<QString>("finalText");
        QTest::newRow("joined, portal") << QStringList{"0", "0", "0", "0", "0"} << true
                                        << "Connection to portal OK. Please enter data in portal...";
        QTest::newRow("radio refused, joined, no answer: admin text")
            << QStringList{"1|" + kRefusedRadio, "1|" + kRefusedRadio, "10|" + kNoSuchProfile, "0", "0"} << false
            << "Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'";
        QTest::newRow("joining refused: failure text only")
            << QStringList{"1|" + kRefusedRadio, "0", "0", "0",
                           "4|Error: Connection activation failed: Not authorized to control networking."}
            << true << "NOT Connected to TAVIK-MUREL";
    }
    void sequence()
    {
        QFETCH(QStringList, replies);
        QFETCH(bool, gatewayAnswers);
        QFETCH(QString, finalText);

        FakeNmcli nmcli;
        for (int i = 0; i < replies.size(); ++i)
            nmcli.reply(i + 1, replies[i].section(u'|', 0, 0).toInt(), replies[i].section(u'|', 1));
        QTemporaryDir tmpdir(QDir::tempPath() + QStringLiteral("/hoptrace tmp XXXXXX"));
        const ProcessEnvironment environment(nmcli.binDir(), tmpdir.path());

        FakeServices fake;
        ObservingTempDir tempDir;
        ObservingRunner runner;
        fake.tempDirOverride = &tempDir;
        fake.commandsOverride = &runner;
        fake.echo.answers = [&](const std::string&) { return gatewayAnswers; };
        fake.echo.costSeconds = 1.0;
        RecordingBusyState busy;
        WifiTestPanel panel;
        const NmcliProvisioningCommands commands;
        ConnectionSequence sequence(panel.widgets, panel.state, fake.services(), busy, commands,
                                    [&](const std::string& address) { return fake.echo.echo(address, 2, 1.0); });
        sequence.ConnectToSetupAp();

        QCOMPARE(panel.widgets.labStatus->text(), finalText);
        const QStringList calls = nmcli.calls();
        QCOMPARE(calls.size(), 5);
        QCOMPARE(calls[0], QStringLiteral("radio|wifi|off"));
        QCOMPARE(calls[1], QStringLiteral("radio|wifi|on"));
        QCOMPARE(calls[2], QStringLiteral("connection|delete|id|TAVIK-MUREL"));
        QVERIFY(calls[3].startsWith("connection|add|type|wifi|con-name|TAVIK-MUREL|"));
        QCOMPARE(calls[4], QStringLiteral("connection|up|id|TAVIK-MUREL"));

        QCOMPARE(tempDir.created.size(), std::size_t{1});
        const std::string dir = tempDir.created.front();
        QVERIFY(dir.rfind(tmpdir.path().toStdString() + "/", 0) == 0);
        QCOMPARE(runner.directoryModes, std::vector<fs::perms>(4, fs::perms::owner_all));
        QVERIFY(!fs::exists(dir));
        QVERIFY(fs::is_empty(tmpdir.path().toStdString()));
    }
};

HOPTRACE_TEST(LinuxProvisioningTest)
#include "LinuxProvisioningTest.moc"
