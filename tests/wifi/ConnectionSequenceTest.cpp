#include "TestMain.h"
#include "WifiTestPanel.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeTempDir.h"
#include "fakes/RecordingBusyState.h"
#include "fakes/WindowInput.h"
#include "platform/NetshProvisioningCommands.h"
#include "platform/NmcliProvisioningCommands.h"
#include "wifi/WlanProfileDocument.h"
#include "wifi/ConnectionSequence.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QXmlStreamReader>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const QString kPortalOk = QStringLiteral("Connection to portal OK. Please enter data in portal...");
const QString kAdmin = QStringLiteral("Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'");
const QString kFailed = QStringLiteral("NOT Connected to TAVIK-MUREL");
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);

// The profile document the platform's WLAN service reads, written out by hand.
QByteArray Document(const QByteArray& ssid, const QByteArray& hex)
{
    return "<?xml version=\"1.0\"?>\r\n<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\r\n"
           "<name>"
        + ssid + "</name>\r\n<SSIDConfig>\r\n<SSID>\r\n<hex>" + hex + "</hex>\r\n<name>" + ssid
        + "</name>\r\n</SSID>\r\n<nonBroadcast>true</nonBroadcast>\r\n</SSIDConfig>\r\n"
          "<connectionType>ESS</connectionType>\r\n<connectionMode>manual</connectionMode>\r\n<MSM>\r\n<security>\r\n"
          "<authEncryption>\r\n<authentication>WPA2PSK</authentication>\r\n<encryption>AES</encryption>\r\n"
          "<useOneX>false</useOneX>\r\n</authEncryption>\r\n<sharedKey>\r\n<keyType>passPhrase</keyType>\r\n"
          "<protected>false</protected>\r\n<keyMaterial>guestPYLO</keyMaterial>\r\n</sharedKey>\r\n</security>\r\n"
          "</MSM>\r\n"
          "<MacRandomization xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v3\">\r\n"
          "<enableRandomization>false</enableRandomization>\r\n</MacRandomization>\r\n</WLANProfile>\r\n";
}

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }
QColor BackColour(const QPushButton* button) { return button->palette().color(QPalette::Button); }

// The Wi-Fi controls with every service faked, in virtual time; each ping costs
// virtual time and the gateway answers from the chosen ping on (0: never).
struct Rig {
    Rig()
    {
        fake.commandsOverride = &runner;
        fake.tempDirOverride = &tempDir;
        fake.echo.costSeconds = 1.0;
        fake.echo.answers = [this](const std::string&) {
            return answerFromPing > 0 && static_cast<int>(fake.echo.asked.size()) >= answerFromPing;
        };
        panel.widgets.cmdWiFiConnect->setEnabled(true);
        sequence = std::make_unique<ConnectionSequence>(
            panel.widgets, panel.state, fake.services(), busy, commands,
            [this](const std::string& address) { return fake.echo.echo(address, 2, 1.0); });
    }
    // Clicks cmdWiFiConnect; the virtual seconds the sequence took.
    double connect()
    {
        const double start = fake.time.elapsed();
        panel.window.show();
        WindowInput::Click(*panel.widgets.cmdWiFiConnect);
        return fake.time.elapsed() - start;
    }
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
        QTest::addColumn<bool>("current");         // else chkOldMurel is clicked first
        QTest::addColumn<QList<int>>("exitCodes"); // of runs 1 to 4
        QTest::addColumn<int>("answerFromPing");
        QTest::addColumn<double>("pingCost");
        QTest::addColumn<QString>("finalText"); // as for TAVIK-MUREL
        QTest::addColumn<int>("pings");
        QTest::addColumn<double>("seconds");
        // Waits: 3 after run 1, 4 after run 2, 4 more when it succeeded, then up to 5
        // of pinging and 2 before the admin text.
        QTest::newRow("success: portal opened") << true << QList<int>{0, 0, 0, 0} << 1 << 1.0 << kPortalOk << 1 << 12.0;
        QTest::newRow("old variant: no browser")
            << false << QList<int>{0, 0, 0, 0} << 1 << 1.0 << kPortalOk << 1 << 12.0;
        QTest::newRow("run 1 exit 5, run 3 failing, joined: no admin text")
            << true << QList<int>{5, 0, 1, 0} << 1 << 1.0 << kPortalOk << 1 << 12.0;
        QTest::newRow("run 1 exit 5, no answer: admin text 2 s after the failure")
            << true << QList<int>{5, 0, 0, 0} << 0 << 1.0 << kAdmin << 5 << 18.0;
        QTest::newRow("run 1 other failure, no answer: failure text only")
            << true << QList<int>{1, 0, 0, 0} << 0 << 1.0 << kFailed << 5 << 16.0;
        QTest::newRow("run 2 failing, no answer: admin text")
            << false << QList<int>{0, 2, 0, 0} << 0 << 1.0 << kAdmin << 5 << 14.0;
        QTest::newRow("run 4 failing: failure text, no admin text, no ping")
            << true << QList<int>{5, 3, 0, 1} << 1 << 1.0 << kFailed << 0 << 7.0;
        QTest::newRow("a ping started before the 5 s end is not cut short")
            << true << QList<int>{0, 0, 0, 0} << 3 << 2.0 << kPortalOk << 3 << 17.0;
        QTest::newRow("pings failing at once do not spin")
            << true << QList<int>{0, 0, 0, 0} << 0 << 0.001 << kFailed << 50 << 16.0;
    }
    void outcomes()
    {
        QFETCH(bool, current);
        QFETCH(QList<int>, exitCodes);
        QFETCH(int, answerFromPing);
        QFETCH(double, pingCost);
        QFETCH(QString, finalText);
        QFETCH(int, pings);
        QFETCH(double, seconds);
        Rig rig;
        const WifiWidgets& w = rig.panel.widgets;
        rig.runner.exitCodes.assign(exitCodes.begin(), exitCodes.end());
        rig.answerFromPing = answerFromPing;
        rig.fake.echo.costSeconds = pingCost;
        if (!current) {
            rig.panel.window.show();
            WindowInput::Click(*w.chkOldMurel);
            QCOMPARE(w.cmdWiFiConnect->text(), "Connect to TAVIK MUREL and wait for portal to open in web browser");
        }
        const QString ssid = current ? "TAVIK-MUREL" : "TAVIK MUREL";
        finalText.replace("TAVIK-MUREL", ssid);
        QPalette red = w.labStatus->palette(); // the failure of an earlier run
        red.setColor(QPalette::WindowText, kRed);
        w.labStatus->setPalette(red);
        w.labStatus->setText(kFailed);
        rig.tempDir.removeForReal = false; // to see what the sequence itself deletes
        QStringList textsAtRuns;           // labProgress, labStatus
        std::vector<std::string> scripts;
        std::string dir, profileAtRun3;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run& run) {
            textsAtRuns << w.labProgress->text() << rig.status();
            QVERIFY(rig.busy.busy());
            QCOMPARE(BackColour(w.cmdWiFiConnect), QColor(255, 255, 128));
            QCOMPARE(TextColour(w.labStatus), kBlack);
            dir = rig.tempDir.created.at(0);
            scripts.push_back(run.script);
            if (scripts.size() == 3)
                profileAtRun3.assign(std::istreambuf_iterator<char>(std::ifstream(dir + "TKProfile.txt").rdbuf()), {});
            if (scripts.size() == 4) { // the last command leaves a log and deletes its own script
                std::ofstream(dir + "TKlog.txt") << "log";
                fs::remove(run.scriptPath);
            }
        };
        QString statusBeforeAdmin;
        rig.fake.time.schedule(seconds - 0.1, [&] { statusBeforeAdmin = rig.status(); });

        QVERIFY2(qAbs(rig.connect() - seconds) < 0.01, "deadlines compare in single precision");

        const QString stopping = "Stopping Wlan service", restarted = "Wlan service restarted OK";
        QCOMPARE(textsAtRuns,
                 (QStringList{stopping, "", stopping, "", exitCodes[1] == 0 ? restarted : stopping,
                              exitCodes[1] == 0 ? restarted : "", "Trying to connect to " + ssid,
                              "Trying to connect to " + ssid}));
        QCOMPARE(w.labProgress->text(), finalText);
        QCOMPARE(rig.status(), finalText);
        QCOMPARE(TextColour(w.labStatus), finalText == kPortalOk ? kBlack : kRed);
        if (finalText == kAdmin)
            QCOMPARE(statusBeforeAdmin, "NOT Connected to " + ssid);
        const std::string address = current ? "8.8.8.8" : "192.168.4.1";
        QCOMPARE(rig.fake.echo.asked, std::vector<std::string>(static_cast<std::size_t>(pings), address));
        const bool portal = current && finalText == kPortalOk;
        QCOMPARE(rig.fake.urls.opened,
                 portal ? std::vector<std::string>{"http://8.8.8.8/"} : std::vector<std::string>{});
        QCOMPARE(BackColour(w.cmdWiFiConnect), QApplication::palette(w.cmdWiFiConnect).color(QPalette::Button));
        QCOMPARE(rig.busy.left, 1);
        QVERIFY(!rig.busy.busy());
        // The four lines and the profile, byte for byte, in a directory whose path has
        // blanks; each run replaces the script; the files go at the end, also when one is missing.
        const std::string name = ssid.toStdString();
        QCOMPARE(scripts,
                 (std::vector<std::string>{"sc stop wlansvc\r\n", "sc start wlansvc\r\n",
                                           "netsh wlan add profile filename=\"" + dir + "TKProfile.txt\"\r\n",
                                           "netsh wlan connect name=\"" + name + "\"\r\n"}));
        QCOMPARE(QByteArray::fromStdString(profileAtRun3),
                 Document(ssid.toLatin1(), current ? "544156494B2D4D5552454C" : "544156494B204D5552454C"));
        for (const char* file : {"TKProfile.txt", "TKlog.txt"})
            QVERIFY2(!fs::exists(dir + file), file);
        QCOMPARE(rig.tempDir.removed, rig.tempDir.created);
    }

    // A single % in a batch line would start a variable reference.
    void theBusyColourShowsUnderEveryStyle()
    {
        Rig rig;
        QPushButton* button = rig.panel.widgets.cmdWiFiConnect;
        QStringList shownBy;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run&) {
            for (const QString& name : {QStringLiteral("Fusion"), QStringLiteral("Windows")}) {
                if (rig.runner.runs.size() > 1)
                    return;
                const std::unique_ptr<QStyle> style(QStyleFactory::create(name));
                button->setStyle(style.get());
                const QImage image = button->grab().toImage();
                button->setStyle(nullptr);
                int yellow = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        yellow += image.pixelColor(x, y) == QColor(255, 255, 128);
                if (yellow > image.width() * image.height() / 2)
                    shownBy << name;
            }
        };
        rig.connect();
        QCOMPARE(shownBy, (QStringList{"Fusion", "Windows"}));
        QVERIFY(button->styleSheet().isEmpty());
    }

    void percentInThePathKeptLiteral()
    {
        QCOMPARE(*NetshProvisioningCommands().addProfile("C:\\Temp\\50%\\TKProfile.txt", "TAVIK-MUREL", "guestPYLO"),
                 std::string("netsh wlan add profile filename=\"C:\\Temp\\50%%\\TKProfile.txt\""));
    }

    // Names and keys that reach a command line or the profile: each builder carries them
    // whole or refuses them. The document must parse and give back the name.
    void buildersCarryOrRefuse_data()
    {
        QTest::addColumn<QByteArray>("text"); // as SSID and as key
        QTest::addColumn<bool>("windowsLines");
        QTest::addColumn<bool>("linuxLines");
        QTest::addColumn<bool>("document");
        QTest::newRow("quote") << QByteArray("x\" & calc & \"") << false << true << true;
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << false << true << false;
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << false << false << false;
        QTest::newRow("0x01") << QByteArray("a\x01") << true << true << false;
        QTest::newRow("0xE9") << QByteArray("caf\xE9") << true << true << true;
        QTest::newRow("]]>") << QByteArray("a]]>b") << true << true << true;
        QTest::newRow("& and <") << QByteArray("a&b<c") << true << true << true;
    }
    void buildersCarryOrRefuse()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, windowsLines);
        QFETCH(bool, linuxLines);
        QFETCH(bool, document);
        const std::string s = text.toStdString();
        const NetshProvisioningCommands netsh;
        const NmcliProvisioningCommands nmcli;
        QCOMPARE(netsh.connect(s).has_value(), windowsLines);
        QCOMPARE(netsh.addProfile("C:\\p.xml", "TAVIK-MUREL", s).has_value(), windowsLines);
        QCOMPARE(nmcli.connect(s).has_value(), linuxLines);
        QCOMPARE(nmcli.addProfile("", "TAVIK-MUREL", s).has_value(), linuxLines);
        const std::optional<std::string> profile = WlanProfileDocument(s, "guestPYLO");
        QCOMPARE(profile.has_value(), document);
        if (!profile)
            return;
        QXmlStreamReader xml(QByteArray::fromStdString(*profile));
        QString firstName;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("name")
                && firstName.isEmpty())
                firstName = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(firstName, QString::fromLatin1(text));
    }

    // Without a private directory nothing runs: neither a stale script nor one in a
    // directory other users could write to.
    void noPrivateDirectory()
    {
        Rig rig;
        rig.tempDir.createFails = true;
        rig.connect();
        QVERIFY(rig.runner.runs.empty());
        QVERIFY(rig.fake.echo.asked.empty());
        QCOMPARE(rig.status(), kFailed);
        QVERIFY(!rig.busy.busy());
        QVERIFY(fs::is_empty(*rig.tempDir.systemTempDir()));
    }
};

HOPTRACE_TEST(ConnectionSequenceTest)
#include "ConnectionSequenceTest.moc"
