#include "TestMain.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeTempDir.h"
#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"
#include "controls/BusyAnimation.h"
#include "platform/NetshProvisioningCommands.h"
#include "wifi/WlanProfileDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QXmlStreamReader>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const QString kPortalOk = QStringLiteral("Connection to portal OK. Please enter data in portal...");
const QString kAdmin = QStringLiteral("Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'");
const QString kFailed = QStringLiteral("NOT Connected to TAVIK-MUREL");
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 128);

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
          "</MSM>\r\n<MacRandomization xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v3\">\r\n"
          "<enableRandomization>false</enableRandomization>\r\n</MacRandomization>\r\n</WLANProfile>\r\n";
}

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }
QColor BackColour(const QPushButton* button) { return button->palette().color(QPalette::Button); }

// The window after its first search with the sequence's services faked; each ping
// costs virtual time and the gateway answers from the chosen ping on (0: never).
struct Rig : WindowRig {
    Rig()
    {
        fakes.commandsOverride = &runner;
        fakes.tempDirOverride = &tempDir;
        fakes.echo.costSeconds = 1.0;
        fakes.echo.answers = [this](const std::string&) {
            return answerFromPing > 0 && static_cast<int>(fakes.echo.asked.size()) >= answerFromPing;
        };
        load();
        finishSearch();
    }
    // Clicks cmdWiFiConnect; the virtual seconds the sequence took.
    double connect()
    {
        const double start = fakes.time.elapsed();
        WindowInput::Click(*c().cmdWiFiConnect);
        return fakes.time.elapsed() - start;
    }
    QString status() const { return c().labStatus->text(); }
    bool busy() const { return !window->isEnabled() && c().Animation1->isVisible(); }

    FakeCommandRunner runner;
    FakeTempDir tempDir;
    int answerFromPing = 1;
};

} // namespace

class ConnectionSequenceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void outcomes_data()
    {
        // current: else chkOldMurel is clicked first; finalText as for TAVIK-MUREL.
        Columns<bool, QList<int>, int, double, QString, int, double>("current", "exitCodes", "answerFromPing",
                                                                     "pingCost", "finalText", "pings", "seconds");
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
        const Controls& c = rig.c();
        rig.runner.exitCodes.assign(exitCodes.begin(), exitCodes.end());
        rig.answerFromPing = answerFromPing;
        rig.fakes.echo.costSeconds = pingCost;
        if (!current) {
            WindowInput::Click(*c.chkOldMurel);
            QCOMPARE(c.cmdWiFiConnect->text(), "Connect to TAVIK MUREL and wait for portal to open in web browser");
        }
        const QString ssid = current ? "TAVIK-MUREL" : "TAVIK MUREL";
        finalText.replace("TAVIK-MUREL", ssid);
        QPalette red = c.labStatus->palette(); // the failure of an earlier run
        red.setColor(QPalette::WindowText, kRed);
        c.labStatus->setPalette(red);
        c.labStatus->setText(kFailed);
        rig.tempDir.removeForReal = false; // to see what the sequence itself deletes
        QStringList textsAtRuns;           // labProgress, labStatus
        std::vector<std::string> scripts;
        std::string dir, profileAtRun3;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run& run) {
            textsAtRuns << c.labProgress->text() << rig.status();
            QVERIFY(rig.busy());
            QCOMPARE(BackColour(c.cmdWiFiConnect), kYellow);
            QCOMPARE(TextColour(c.labStatus), QColor(Qt::black));
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
        rig.fakes.time.schedule(seconds - 0.1, [&] { statusBeforeAdmin = rig.status(); });

        QVERIFY2(qAbs(rig.connect() - seconds) < 0.01, "deadlines compare in single precision");

        const QString stopping = "Stopping Wlan service", restarted = "Wlan service restarted OK";
        QCOMPARE(textsAtRuns,
                 (QStringList{stopping, "", stopping, "", exitCodes[1] == 0 ? restarted : stopping,
                              exitCodes[1] == 0 ? restarted : "", "Trying to connect to " + ssid,
                              "Trying to connect to " + ssid}));
        QCOMPARE(c.labProgress->text(), finalText);
        QCOMPARE(rig.status(), finalText);
        QCOMPARE(TextColour(c.labStatus), finalText == kPortalOk ? QColor(Qt::black) : kRed);
        if (finalText == kAdmin)
            QCOMPARE(statusBeforeAdmin, "NOT Connected to " + ssid);
        const std::string address = current ? "8.8.8.8" : "192.168.4.1";
        QCOMPARE(rig.fakes.echo.asked, std::vector<std::string>(static_cast<std::size_t>(pings), address));
        QCOMPARE(rig.fakes.echo.lastHops, pings ? 2 : 0);
        const bool portal = current && finalText == kPortalOk;
        QCOMPARE(rig.fakes.urls.opened,
                 portal ? std::vector<std::string>{"http://8.8.8.8/"} : std::vector<std::string>{});
        QCOMPARE(BackColour(c.cmdWiFiConnect), QApplication::palette(c.cmdWiFiConnect).color(QPalette::Button));
        QVERIFY(!rig.busy() && rig.window->isEnabled());
        // The four lines and the profile, byte for byte, in a directory whose path has
        // blanks; each run replaces the script; the files go at the end, also when one is missing.
        const NmcliProvisioningCommands& lines = rig.fakes.provisioning;
        const std::string name = ssid.toStdString();
        QCOMPARE(scripts,
                 (std::vector<std::string>{lines.stopWlan() + "\n", lines.startWlan() + "\n",
                                           *lines.addProfile(dir + "TKProfile.txt", name, "guestPYLO") + "\n",
                                           *lines.connect(name) + "\n"}));
        QCOMPARE(QByteArray::fromStdString(profileAtRun3),
                 Document(ssid.toLatin1(), current ? "544156494B2D4D5552454C" : "544156494B204D5552454C"));
        for (const char* file : {"TKProfile.txt", "TKlog.txt"})
            QVERIFY2(!fs::exists(dir + file), file);
        QCOMPARE(rig.tempDir.removed, rig.tempDir.created);
    }

    void theBusyColourShowsUnderEveryStyle()
    {
        Rig rig;
        QPushButton* button = rig.c().cmdWiFiConnect;
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
                        yellow += image.pixelColor(x, y) == kYellow;
                if (yellow > image.width() * image.height() / 2)
                    shownBy << name;
            }
        };
        rig.connect();
        QCOMPARE(shownBy, (QStringList{"Fusion", "Windows"}));
        QVERIFY(button->styleSheet().isEmpty());
    }

    // The Windows lines: a path with blanks whole inside the quotes, a single % (which
    // would start a variable reference in a batch file) doubled.
    void windowsLines()
    {
        const NetshProvisioningCommands netsh;
        QCOMPARE(*netsh.addProfile("C:\\My Temp\\50%\\TKProfile.txt", "TAVIK MUREL", "guestPYLO"),
                 std::string("netsh wlan add profile filename=\"C:\\My Temp\\50%%\\TKProfile.txt\""));
        QCOMPARE(*netsh.connect("TAVIK MUREL"), std::string("netsh wlan connect name=\"TAVIK MUREL\""));
    }

    // Names and keys that reach a command line or the profile: each builder carries them
    // whole or refuses them. The document must parse and give back the name.
    void buildersCarryOrRefuse_data()
    {
        Columns<QByteArray, bool, bool, bool>("text", "windowsLines", "linuxLines", "document"); // text: SSID and key
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
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"name" && firstName.isEmpty())
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
        QVERIFY(rig.fakes.echo.asked.empty());
        QCOMPARE(rig.status(), kFailed);
        QVERIFY(rig.window->isEnabled());
        QVERIFY(fs::is_empty(*rig.tempDir.systemTempDir()));
    }
};

HOPTRACE_TEST(ConnectionSequenceTest)
#include "ConnectionSequenceTest.moc"
