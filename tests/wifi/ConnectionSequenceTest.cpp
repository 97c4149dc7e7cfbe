#include "TestMain.h"
#include "WifiTestPanel.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeTempDir.h"
#include "fakes/RecordingBusyState.h"
#include "platform/NetshProvisioningCommands.h"
#include "wifi/ConnectionSequence.h"
#include "wifi/SetupApVariant.h"
#include "wifi/WlanProfileDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace {

const QString kPortalOk = QStringLiteral("Connection to portal OK. Please enter data in portal...");
const QString kAdmin = QStringLiteral("Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'");
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kLightYellow(255, 255, 128);

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }
QColor BackColour(const QPushButton* button) { return button->palette().color(QPalette::Button); }
bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// One window's worth of Wi-Fi controls with faked services in virtual time. Pings
// cost virtual time; the gateway answers from the chosen ping on (0: never).
struct Rig {
    Rig()
    {
        fake.commandsOverride = &runner;
        fake.tempDirOverride = &tempDir;
        fake.echo.costSeconds = 1.0;
        fake.echo.answers = [this](const std::string&) {
            return answerFromPing > 0 && static_cast<int>(fake.echo.asked.size()) >= answerFromPing;
        };
        panel.fillConnectFields();
        panel.widgets.cmdWiFiConnect->setEnabled(true);
        sequence = std::make_unique<ConnectionSequence>(
            panel.widgets, panel.state, fake.services(), busy, commands,
            [this](const std::string& address) { return fake.echo.echo(address, 2, 1.0); });
    }
    // Clicks cmdWiFiConnect; returns the virtual seconds the sequence took.
    double connect()
    {
        const double start = fake.time.elapsed();
        panel.widgets.cmdWiFiConnect->click();
        return fake.time.elapsed() - start;
    }
    QString progress() const { return panel.widgets.labProgress->text(); }
    QString status() const { return panel.widgets.labStatus->text(); }

    const NetshProvisioningCommands commands;
    FakeServices fake;
    FakeCommandRunner runner;
    FakeTempDir tempDir;
    RecordingBusyState busy;
    WifiTestPanel panel;
    int answerFromPing = 1;
    std::unique_ptr<ConnectionSequence> sequence;
};

} // namespace

class ConnectionSequenceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void outcomes_data()
    {
        QTest::addColumn<bool>("useCurrentSetupAp");
        QTest::addColumn<QList<int>>("exitCodes");
        QTest::addColumn<int>("answerFromPing");
        QTest::addColumn<double>("pingCost");
        QTest::addColumn<QString>("finalText");
        QTest::addColumn<bool>("red");
        QTest::addColumn<bool>("restartedShown");
        QTest::addColumn<int>("pings");
        QTest::addColumn<double>("seconds");

        const QString failed = QStringLiteral("NOT Connected to TAVIK-MUREL");
        // Waits: 3 after run 1, 4 after run 2, 4 more when the service restarted,
        // then up to 5 of pinging and 2 before the admin text.
        QTest::newRow("joined, current firmware") << true << QList<int>{0, 0, 0, 0} << 1 << 1.0 << kPortalOk
                                                  << false << true << 1 << 12.0;
        QTest::newRow("joined, old firmware") << false << QList<int>{0, 0, 0, 0} << 1 << 1.0 << kPortalOk << false
                                              << true << 1 << 12.0;
        QTest::newRow("run 1 access denied, joined: no admin text")
            << true << QList<int>{5, 0, 0, 0} << 1 << 1.0 << kPortalOk << false << true << 1 << 12.0;
        QTest::newRow("run 1 access denied, no answer: admin text")
            << true << QList<int>{5, 0, 0, 0} << 0 << 1.0 << kAdmin << true << true << 5 << 18.0;
        QTest::newRow("run 1 other failure, no answer: no admin text")
            << true << QList<int>{1, 0, 0, 0} << 0 << 1.0 << failed << true << true << 5 << 16.0;
        QTest::newRow("run 2 fails, no answer: admin text")
            << true << QList<int>{0, 2, 0, 0} << 0 << 1.0 << kAdmin << true << false << 5 << 14.0;
        QTest::newRow("run 2 fails, joined") << true << QList<int>{0, 2, 0, 0} << 1 << 1.0 << kPortalOk << false
                                             << false << 1 << 8.0;
        QTest::newRow("run 3 fails, sequence goes on")
            << true << QList<int>{0, 0, 1, 0} << 1 << 1.0 << kPortalOk << false << true << 1 << 12.0;
        QTest::newRow("run 4 fails with admin problem: no admin text, no ping")
            << true << QList<int>{5, 3, 0, 1} << 1 << 1.0 << failed << true << false << 0 << 7.0;
        QTest::newRow("run 4 fails") << true << QList<int>{0, 0, 0, 1} << 1 << 1.0 << failed << true << true << 0
                                     << 11.0;
        QTest::newRow("run 4 cannot start") << true << QList<int>{0, 0, 0, -1} << 1 << 1.0 << failed << true
                                            << true << 0 << 11.0;
        QTest::newRow("answer on the fifth ping") << true << QList<int>{0, 0, 0, 0} << 5 << 1.0 << kPortalOk
                                                  << false << true << 5 << 16.0;
        QTest::newRow("no answer") << true << QList<int>{0, 0, 0, 0} << 0 << 1.0 << failed << true << true << 5
                                   << 16.0;
        QTest::newRow("a started ping is not cut short")
            << true << QList<int>{0, 0, 0, 0} << 3 << 2.0 << kPortalOk << false << true << 3 << 17.0;
        QTest::newRow("slow pings, no answer") << true << QList<int>{0, 0, 0, 0} << 0 << 2.0 << failed << true
                                               << true << 3 << 17.0;
    }
    void outcomes()
    {
        QFETCH(bool, useCurrentSetupAp);
        QFETCH(QList<int>, exitCodes);
        QFETCH(int, answerFromPing);
        QFETCH(double, pingCost);
        QFETCH(QString, finalText);
        QFETCH(bool, red);
        QFETCH(bool, restartedShown);
        QFETCH(int, pings);
        QFETCH(double, seconds);

        Rig rig;
        rig.panel.useCurrentSetupAp = useCurrentSetupAp;
        rig.runner.exitCodes.assign(exitCodes.begin(), exitCodes.end());
        rig.answerFromPing = answerFromPing;
        rig.fake.echo.costSeconds = pingCost;
        QStringList shownAtRun3;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run&) {
            if (rig.runner.runs.size() == 3)
                shownAtRun3 << rig.progress() << rig.status();
        };

        QCOMPARE(rig.connect(), seconds);

        const SetupApVariant& variant = SetupApVariantFor(useCurrentSetupAp);
        QCOMPARE(rig.runner.runs.size(), std::size_t{4});
        QCOMPARE(rig.progress(), useCurrentSetupAp ? finalText : QString(finalText).replace("-MUREL", " MUREL"));
        QCOMPARE(rig.status(), rig.progress());
        QCOMPARE(TextColour(rig.panel.widgets.labProgress), red ? kRed : kBlack);
        QCOMPARE(TextColour(rig.panel.widgets.labStatus), red ? kRed : kBlack);
        const QString restarted = QStringLiteral("Wlan service restarted OK");
        QCOMPARE(shownAtRun3.contains(restarted), restartedShown);
        QCOMPARE(static_cast<int>(rig.fake.echo.asked.size()), pings);
        for (const std::string& address : rig.fake.echo.asked)
            QCOMPARE(address, variant.pingAddress);
        const bool portal = finalText == kPortalOk && useCurrentSetupAp;
        const std::vector<std::string> browser = portal ? std::vector<std::string>{"http://8.8.8.8/"}
                                                        : std::vector<std::string>{};
        QCOMPARE(rig.fake.urls.opened, browser);
        QCOMPARE(BackColour(rig.panel.widgets.cmdWiFiConnect),
                 QApplication::palette(rig.panel.widgets.cmdWiFiConnect).color(QPalette::Button));
        QCOMPARE(rig.busy.entered, 1);
        QCOMPARE(rig.busy.left, 1);
    }

    void adminTextFollowsTheFailureTwoSecondsLater()
    {
        Rig rig;
        rig.runner.exitCodes = {5, 0, 0, 0};
        rig.answerFromPing = 0;
        QString shortlyBefore;
        QColor colourBefore;
        // Pinging ends at 16 s; the admin text is due at 18 s.
        rig.fake.time.schedule(17.9, [&] {
            shortlyBefore = rig.status();
            colourBefore = TextColour(rig.panel.widgets.labStatus);
        });
        rig.connect();
        QCOMPARE(shortlyBefore, QStringLiteral("NOT Connected to TAVIK-MUREL"));
        QCOMPARE(colourBefore, kRed);
        QCOMPARE(rig.status(), kAdmin);
    }

    void whileRunning()
    {
        Rig rig;
        rig.panel.useCurrentSetupAp = false;
        QStringList seen;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run&) {
            QVERIFY(rig.busy.busy());
            QCOMPARE(BackColour(rig.panel.widgets.cmdWiFiConnect), kLightYellow);
            QCOMPARE(TextColour(rig.panel.widgets.labProgress), kBlack);
            QCOMPARE(TextColour(rig.panel.widgets.labStatus), kBlack);
            seen << rig.progress() + " / " + rig.status();
        };
        rig.connect();
        QCOMPARE(seen, (QStringList{"Stopping Wlan service / ", "Stopping Wlan service / ",
                                    "Wlan service restarted OK / Wlan service restarted OK",
                                    "Trying to connect to TAVIK MUREL / Trying to connect to TAVIK MUREL"}));
    }

    // The texts and the red colour stay until the next run starts afresh.
    void nextRunStartsAfresh()
    {
        Rig rig;
        rig.runner.exitCodes = {0, 0, 0, 1};
        rig.connect();
        QCOMPARE(TextColour(rig.panel.widgets.labStatus), kRed);
        rig.runner.exitCodes.clear();
        rig.runner.runs.clear();
        QString statusAtFirstRun;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run&) {
            if (rig.runner.runs.size() == 1)
                statusAtFirstRun = rig.status();
        };
        rig.connect();
        QCOMPARE(statusAtFirstRun, QString());
        QCOMPARE(rig.status(), kPortalOk);
        QCOMPARE(TextColour(rig.panel.widgets.labStatus), kBlack);
    }

    // Each run replaces the script's content; the three files are deleted at the end.
    void files()
    {
        Rig rig;
        rig.tempDir.removeForReal = false; // to see what the sequence itself deletes
        std::string dir;
        std::vector<std::string> scripts;
        std::string profileAtRun3;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run& run) {
            dir = rig.tempDir.created.at(0);
            QCOMPARE(run.scriptPath, dir + "TK.bat");
            QCOMPARE(run.timeoutSeconds, 60.0);
            scripts.push_back(run.script);
            if (scripts.size() == 1)
                std::ofstream(dir + "TKlog.txt") << "left by a command";
            if (scripts.size() == 3)
                profileAtRun3 = ReadAll(dir + "TKProfile.txt");
        };
        rig.connect();

        QVERIFY(dir.find(' ') != std::string::npos); // the temporary directory's path has blanks
        QCOMPARE(scripts, (std::vector<std::string>{
                              "sc stop wlansvc\r\n", "sc start wlansvc\r\n",
                              "netsh wlan add profile filename=\"" + dir + "TKProfile.txt\"\r\n",
                              "netsh wlan connect name=\"TAVIK-MUREL\"\r\n"}));
        QCOMPARE(profileAtRun3, WlanProfileDocument("TAVIK-MUREL", "guestPYLO"));
        for (const char* name : {"TK.bat", "TKProfile.txt", "TKlog.txt"})
            QVERIFY2(!Exists(dir + name), name);
        QCOMPARE(rig.tempDir.removed, rig.tempDir.created);
    }

    void missingFilesAreIgnored()
    {
        Rig rig;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run& run) {
            if (rig.runner.runs.size() == 4) {
                std::filesystem::remove(run.scriptPath);
                std::filesystem::remove(rig.tempDir.created.at(0) + "TKProfile.txt");
            }
        };
        rig.connect();
        QCOMPARE(rig.status(), kPortalOk);
        QCOMPARE(rig.tempDir.removed.size(), std::size_t{1});
        QVERIFY(!Exists(rig.tempDir.created.at(0)));
        QVERIFY(!rig.busy.busy());
    }

    // Without a private directory nothing is run: neither a stale script nor one in a
    // directory other users could write to.
    void noPrivateDirectory()
    {
        Rig rig;
        rig.tempDir.createFails = true;
        rig.connect();
        QVERIFY(rig.runner.runs.empty());
        QVERIFY(rig.fake.echo.asked.empty());
        QCOMPARE(rig.status(), QStringLiteral("NOT Connected to TAVIK-MUREL"));
        QCOMPARE(TextColour(rig.panel.widgets.labStatus), kRed);
        QVERIFY(!rig.busy.busy());
        QVERIFY(std::filesystem::is_empty(*rig.tempDir.systemTempDir()));
    }

    // A ping that fails at once is not repeated in a spin for five seconds.
    void instantPingFailuresDoNotSpin()
    {
        Rig rig;
        rig.answerFromPing = 0;
        rig.fake.echo.costSeconds = 0.0;
        QVERIFY(qAbs(rig.connect() - 16.0) < 0.01); // deadlines compare in single precision
        QVERIFY(rig.fake.echo.asked.size() <= 51);
        QVERIFY(rig.fake.echo.asked.size() >= 40);
    }

    void variantChoice()
    {
        Rig rig;
        QCheckBox* check = rig.panel.widgets.chkOldMurel;
        check->click();
        QCOMPARE(rig.panel.widgets.cmdWiFiConnect->text(),
                 QStringLiteral("Connect to TAVIK MUREL and wait for portal to open in web browser"));
        QCOMPARE(rig.panel.useCurrentSetupAp, false);
        QCOMPARE(rig.panel.useOldSetupAp, true);
        rig.connect();
        QCOMPARE(rig.fake.echo.asked.at(0), std::string("192.168.4.1"));
        check->click();
        QCOMPARE(rig.panel.widgets.cmdWiFiConnect->text(),
                 QStringLiteral("Connect to TAVIK-MUREL and open portal in web browser"));
        QCOMPARE(rig.panel.useCurrentSetupAp, true);
        QCOMPARE(rig.panel.useOldSetupAp, false);
    }
};

HOPTRACE_TEST(ConnectionSequenceTest)
#include "ConnectionSequenceTest.moc"
