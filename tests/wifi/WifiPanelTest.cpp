#include "TestMain.h"
#include "ScanTable.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeTempDir.h"
#include "fakes/FakeWlan.h"
#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"
#include "controls/BusyAnimation.h"
#include "controls/PictureButton.h"
#include "platform/NetshProvisioningCommands.h"
#include "wifi/WlanProfileDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QXmlStreamReader>

#include <filesystem>
#include <fstream>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// clang-format off
const std::vector<ScanRow> kScanRows = {
    {"no WLAN client", -1, {}, {}, "", false, "8082", "Unable to get WLAN Handle"},
    {"no adapter", 0, {}, {}, "", false, "8082", "No Wireless Adapters Found"},
    {"hidden and NUL-leading names skipped, a NUL ends a name", 1,
     {{"", 40}, {"\0TAVIK-MUREL"s, 50}, {"Home", 60}, {"Cafe\0junk"s, 57}}, {"Home|60%", "Cafe|57%"}},
    {"bytes from 0x80 one character each, never UTF-8", 1, {{"\x80\xE9t\xC3\xA9\x9F", 33}},
     {QString::fromUtf8("\xE2\x82\xAC\xC3\xA9t\xC3\x83\xC2\xA9\xC5\xB8|33%")}},
    {"0 % and 100 %, near misses are no setup access point", 1,
     {{"tavik-murel", 0}, {"TAVIK-MUREL2", 100}, {"TAVIK MUREL ", 3}},
     {"tavik-murel|0%", "TAVIK-MUREL2|100%", "TAVIK MUREL |3%"}},
    {"both setup access points, the current one later decides", 1, {{"TAVIK MUREL", 80}, {"TAVIK-MUREL", 81}},
     {"TAVIK MUREL|80%", "TAVIK-MUREL|81%"}, "current", true},
    {"both setup access points, the old one later decides", 1, {{"TAVIK-MUREL", 80}, {"TAVIK MUREL", 81}},
     {"TAVIK-MUREL|80%", "TAVIK MUREL|81%"}, "old", true},
    {"setup access point found, port not usable", 1, {{"TAVIK-MUREL", 90}}, {"TAVIK-MUREL|90%"}, "current", false, "0"},
    {"two adapters: the first one's networks", 2, {{"First", 40}}, {"First|40%"}},
};
// clang-format on

const QString kPortalOk = QStringLiteral("Connection to portal OK. Please enter data in portal...");
const QString kAdmin = QStringLiteral("Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'");
const QString kFailed = QStringLiteral("NOT Connected to TAVIK-MUREL");
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

// Native styles ignore a palette's button colour: the button must look yellow under each.
bool ShownYellow(QPushButton& button, const char* styleName)
{
    const std::unique_ptr<QStyle> style(QStyleFactory::create(styleName));
    button.setStyle(style.get());
    const QImage image = button.grab().toImage();
    button.setStyle(nullptr);
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            yellow += image.pixelColor(x, y) == kYellow;
    return yellow > image.width() * image.height() / 2;
}

// The window after its first search, widened over the Wi-Fi panel, with the gateway
// sequence's services faked. Each ping costs virtual time; the gateway answers from
// the chosen ping on (0: never).
struct Rig : WindowRig {
    explicit Rig(Wlan* wlan = nullptr)
    {
        fakes.wlanOverride = wlan;
        fakes.commandsOverride = &runner;
        fakes.tempDirOverride = &tempDir;
        fakes.echo.costSeconds = 1.0;
        fakes.echo.answers = [this](const std::string&) {
            return answerFromPing > 0 && static_cast<int>(fakes.echo.asked.size()) >= answerFromPing;
        };
        load();
        finishSearch();
        showWifiPanel();
    }
    // Replaces a box's text as a person does: click, select all, type.
    void retype(QLineEdit* box, const QString& text)
    {
        WindowInput::Click(*box);
        WindowInput::Key(*window, Qt::Key_A, Qt::ControlModifier);
        WindowInput::Key(*window, Qt::Key_Delete);
        WindowInput::Type(*window, text);
    }
    QString status() const { return c().labStatus->text(); }
    bool busy() const { return !window->isEnabled() && c().Animation1->isVisible(); }
    QColor statusColour() const { return c().labStatus->palette().color(QPalette::WindowText); }

    FakeCommandRunner runner;
    FakeTempDir tempDir;
    int answerFromPing = 1;
};

void ClickLine(QListWidget* list, int row)
{
    WindowInput::ClickAt(*list->viewport(), list->visualItemRect(list->item(row)).center());
}

} // namespace

void AddScanRows()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < kScanRows.size(); ++i)
        QTest::newRow(kScanRows[i].name) << static_cast<int>(i);
}

const ScanRow& CurrentScanRow()
{
    QFETCH(int, row);
    return kScanRows.at(static_cast<std::size_t>(row));
}

void RunScanRow(Wlan& wlan)
{
    const ScanRow& row = CurrentScanRow();
    Rig rig(&wlan);
    const Controls& c = rig.c();
    rig.retype(c.txtSSID, "HomeNet");
    rig.retype(c.txtMurelPort, row.port);
    c.cmdWiFiConnect->setEnabled(false); // as before the first search ends
    const double start = rig.fakes.time.elapsed();
    rig.fakes.time.schedule(0.2, [&] { WindowInput::Click(*c.picRescan); });
    WindowInput::Click(*c.picRescan);

    QCOMPARE(float(rig.fakes.time.elapsed() - start), 0.5f); // the half-second wait, once
    QStringList shown;
    for (int i = 0; i < std::max(c.lstSSID->count(), c.lstSignal->count()); ++i) {
        const auto text = [i](const QListWidget* list) { return list->item(i) ? list->item(i)->text() : "?"; };
        shown << text(c.lstSSID) + '|' + text(c.lstSignal);
    }
    QCOMPARE(shown, row.shown);
    QCOMPARE(c.lstSSID->currentRow(), -1);
    const QString setupAp = row.setupAp;
    QCOMPARE(c.labProgress->text(),
             setupAp.isEmpty() ? "No Tavik Murel access point found. Reboot Murel, wait until the led lights up, then "
                                 "press and hold button until led stops blinking. Then retry...\""
                               : "Please enter SSID or click on list and enter key.");
    const QString found = "Connect to " + QString(setupAp == "old" ? "TAVIK MUREL" : "TAVIK-MUREL");
    QCOMPARE(c.cmdWiFiConnect->text(),
             setupAp.isEmpty() ? "Connect to TAVIK-MUREL and open Portal in web browser"
                               : found + " and set SSID, key, IP, ...");
    QCOMPARE(c.cmdWiFiConnect->isEnabled(), row.enabled);
    QCOMPARE(rig.fakes.messages.shown,
             *row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
    QCOMPARE(c.fraVoorstel->isEnabled(), !*row.message);
    if (row.enabled) { // the connection targets the access point found
        WindowInput::Click(*c.cmdWiFiConnect);
        QCOMPARE(rig.fakes.echo.asked.at(0), setupAp == "old" ? "192.168.4.1" : "8.8.8.8");
    }
}

class WifiPanelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scan_data() { AddScanRows(); }
    void scan()
    {
        const ScanRow& row = CurrentScanRow();
        FakeWlan wlan;
        wlan.opens = row.adapters >= 0;
        wlan.interfaces = std::max(row.adapters, 0);
        wlan.networks = row.networks;
        RunScanRow(wlan);
    }

    // The rule is applied where the SSID or the port is typed, and reads the suggested
    // address, mask and gateway, which the adapter tab fills without applying it.
    void readinessFollowsTyping_data()
    {
        Columns<int, QStringList, bool>("emptied", "typed", "enabled"); // typed: SSID, port
        QTest::newRow("all filled") << -1 << QStringList{"HomeNet", "65535"} << true;
        QTest::newRow("no SSID") << -1 << QStringList{"", "8082"} << false;
        QTest::newRow("port 0") << -1 << QStringList{"HomeNet", "0"} << false;
        QTest::newRow("port 65536") << -1 << QStringList{"HomeNet", "65536"} << false;
        for (int emptied : {0, 1, 2})
            QTest::addRow("no txtVoorstel(%d)", emptied) << emptied << QStringList{"HomeNet", "8082"} << false;
        QTest::newRow("no DNS suggestion") << 3 << QStringList{"HomeNet", "8082"} << true;
    }
    void readinessFollowsTyping()
    {
        QFETCH(int, emptied);
        QFETCH(QStringList, typed);
        Rig rig;
        if (emptied >= 0)
            rig.c().txtVoorstel[std::size_t(emptied)]->clear(); // an adapter without an address
        rig.retype(rig.c().txtMurelPort, typed[1]);
        rig.retype(rig.c().txtSSID, typed[0]);
        QTEST(rig.c().cmdWiFiConnect->isEnabled(), "enabled");
    }

    // A list that only gets the focus picks nothing. A picked line is picked in both
    // lists and its name goes to txtSSID, 32 characters at most; a name beginning with
    // the setup access point's brings a message instead.
    void pick()
    {
        FakeWlan wlan;
        wlan.networks = {{"Home", 1}, {"abcdefghijklmnopqrstuvwxyz0123456789", 2}, {"TAVIK-MURELX", 3}};
        Rig rig(&wlan);
        const Controls& c = rig.c();
        WindowInput::Click(*c.picRescan);
        WindowInput::ClickAt(*c.lstSignal->viewport(), {4, c.lstSignal->viewport()->height() - 4}); // below the lines
        QCOMPARE(c.txtSSID->text(), QString());
        ClickLine(c.lstSignal, 1);
        QCOMPARE(c.lstSSID->currentRow(), 1);
        QCOMPARE(c.txtSSID->text(), QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"));
        ClickLine(c.lstSSID, 2);
        QCOMPARE(c.lstSignal->currentRow(), 2);
        QCOMPARE(c.txtSSID->text(), QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"));
        QCOMPARE(rig.fakes.messages.shown,
                 std::vector<std::string>{"\"TAVIK-MUREL\" temporary available. Please "
                                          "select or type new SSID and network key"});
    }

    // Waits: 3 s after run 1, 4 after run 2, 4 more when it succeeded, then up to 5 of
    // pinging and 2 before the admin text. Texts as for TAVIK-MUREL; old: chkOldMurel ticked.
    void connection_data()
    {
        Columns<bool, QList<int>, int, double, QString, int, double>("old", "exitCodes", "answerFromPing", "pingCost",
                                                                     "finalText", "pings", "seconds");
        using Codes = QList<int>;
        // clang-format off
        QTest::newRow("portal opened") << false << Codes{0, 0, 0, 0} << 1 << 1.0 << kPortalOk << 1 << 12.0;
        QTest::newRow("old: no browser") << true << Codes{0, 0, 0, 0} << 1 << 1.0 << kPortalOk << 1 << 12.0;
        QTest::newRow("denied, run 3 failing, joined: no admin") << false << Codes{5, 0, 1, 0} << 1 << 1.0 << kPortalOk
                                                                 << 1 << 12.0;
        QTest::newRow("denied, no answer: admin") << false << Codes{5, 0, 0, 0} << 0 << 1.0 << kAdmin << 5 << 18.0;
        QTest::newRow("run 1 failing otherwise") << false << Codes{1, 0, 0, 0} << 0 << 1.0 << kFailed << 5 << 16.0;
        QTest::newRow("run 2 failing: admin") << true << Codes{0, 2, 0, 0} << 0 << 1.0 << kAdmin << 5 << 14.0;
        QTest::newRow("run 4 failing: no admin") << false << Codes{5, 3, 0, 1} << 1 << 1.0 << kFailed << 0 << 7.0;
        QTest::newRow("started ping not cut short") << false << Codes{0, 0, 0, 0} << 3 << 2.0 << kPortalOk << 3 << 17.0;
        QTest::newRow("instant failures no spin") << false << Codes{0, 0, 0, 0} << 0 << 0.001 << kFailed << 50 << 16.0;
        // clang-format on
    }
    void connection()
    {
        QFETCH(bool, old);
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
        if (old)
            WindowInput::Click(*c.chkOldMurel);
        QCOMPARE(c.cmdWiFiConnect->text(),
                 old ? "Connect to TAVIK MUREL and wait for portal to open in web browser"
                     : "Connect to TAVIK-MUREL and open Portal in web browser");
        const QString ssid = old ? "TAVIK MUREL" : "TAVIK-MUREL";
        finalText.replace("TAVIK-MUREL", ssid);
        QPalette red = c.labStatus->palette(); // the failure of an earlier run
        red.setColor(QPalette::WindowText, Qt::red);
        c.labStatus->setPalette(red);
        rig.tempDir.removeForReal = false; // to see what the sequence itself deletes
        QStringList texts;                 // labProgress, labStatus at each run
        std::string profile;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run& run) {
            texts << c.labProgress->text() << rig.status();
            QVERIFY(rig.busy() && rig.statusColour() == Qt::black);
            QVERIFY(ShownYellow(*c.cmdWiFiConnect, "Fusion") && ShownYellow(*c.cmdWiFiConnect, "Windows"));
            const std::string dir = rig.tempDir.created.at(0);
            if (rig.runner.runs.size() == 3)
                profile.assign(std::istreambuf_iterator<char>(std::ifstream(dir + "TKProfile.txt").rdbuf()), {});
            if (rig.runner.runs.size() == 4) { // the last command leaves a log and deletes its own script
                std::ofstream(dir + "TKlog.txt") << "log";
                fs::remove(run.scriptPath);
            }
        };
        QString statusBeforeAdmin;
        rig.fakes.time.schedule(seconds - 0.1, [&] { statusBeforeAdmin = rig.status(); });
        const double start = rig.fakes.time.elapsed();

        WindowInput::Click(*c.cmdWiFiConnect);

        QVERIFY2(qAbs(rig.fakes.time.elapsed() - start - seconds) < 0.01, "deadlines in single precision");
        const QString stop = "Stopping Wlan service", restarted = exitCodes[1] ? "" : "Wlan service restarted OK";
        QCOMPARE(texts,
                 (QStringList{stop, "", stop, "", restarted.isEmpty() ? stop : restarted, restarted,
                              "Trying to connect to " + ssid, "Trying to connect to " + ssid}));
        QCOMPARE(c.labProgress->text() + '|' + rig.status(), finalText + '|' + finalText);
        QCOMPARE(rig.statusColour(), finalText == kPortalOk ? Qt::black : Qt::red);
        if (finalText == kAdmin)
            QCOMPARE(statusBeforeAdmin, "NOT Connected to " + ssid);
        QCOMPARE(rig.fakes.echo.asked, std::vector<std::string>(pings, old ? "192.168.4.1" : "8.8.8.8"));
        QCOMPARE(rig.fakes.echo.lastHops, pings ? 2 : 0);
        const bool portal = !old && finalText == kPortalOk;
        QCOMPARE(rig.fakes.urls.opened,
                 portal ? std::vector<std::string>{"http://8.8.8.8/"} : std::vector<std::string>{});
        QVERIFY(c.cmdWiFiConnect->styleSheet().isEmpty() && !rig.busy());
        QCOMPARE(c.cmdWiFiConnect->palette().color(QPalette::Button),
                 QApplication::palette(c.cmdWiFiConnect).color(QPalette::Button));
        // Each run replaces the script; the profile is byte for byte, in a directory whose
        // path has blanks; the files go at the end, also when one is missing.
        QCOMPARE(rig.runner.runs.size(), 4u);
        QCOMPARE(rig.runner.runs.back().script, *rig.fakes.provisioning.connect(ssid.toStdString()) + "\n");
        QCOMPARE(QByteArray::fromStdString(profile),
                 Document(ssid.toLatin1(), old ? "544156494B204D5552454C" : "544156494B2D4D5552454C"));
        const std::string dir = rig.tempDir.created.at(0);
        QVERIFY(!fs::exists(dir + "TKProfile.txt") && !fs::exists(dir + "TKlog.txt"));
        QCOMPARE(rig.tempDir.removed, rig.tempDir.created);
    }

    // Without a private directory nothing runs: neither a stale script nor one in a
    // directory other users could write to.
    void connectionWithoutPrivateDirectory()
    {
        Rig rig;
        rig.tempDir.createFails = true;
        WindowInput::Click(*rig.c().cmdWiFiConnect);
        QVERIFY(rig.runner.runs.empty() && rig.fakes.echo.asked.empty() && !rig.busy());
        QCOMPARE(rig.status(), kFailed);
        QVERIFY(fs::is_empty(*rig.tempDir.systemTempDir()));
    }

    // Names and keys that reach a command line or the profile: each builder carries them
    // whole or refuses them, and the document parses and gives the name back. Windows
    // lines keep a path with blanks whole and double a single % (a batch variable).
    void buildersCarryOrRefuse_data()
    {
        Columns<QByteArray, bool, bool, bool>("text", "windowsLines", "linuxLines", "document"); // as SSID and key
        QTest::newRow("quote") << QByteArray("x\" & calc & \"") << false << true << true;
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << false << true << false;
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << false << false << false;
        QTest::newRow("0x01") << QByteArray("a\x01") << true << true << false;
        QTest::newRow("0xE9, % and blank") << QByteArray("caf\xE9 50%") << true << true << true;
        QTest::newRow("]]>") << QByteArray("a]]>b") << true << true << true;
        QTest::newRow("& and <") << QByteArray("a&b<c") << true << true << true;
    }
    void buildersCarryOrRefuse()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, windowsLines);
        QFETCH(bool, document);
        const std::string s = text.toStdString(), doubled = QByteArray(text).replace("%", "%%").toStdString();
        const auto line = [&](const std::string& l) { return windowsLines ? std::optional(l) : std::nullopt; };
        const NetshProvisioningCommands netsh;
        QCOMPARE(netsh.connect(s), line("netsh wlan connect name=\"" + doubled + "\""));
        QCOMPARE(netsh.addProfile("C:\\" + s, "A", s), line("netsh wlan add profile filename=\"C:\\" + doubled + "\""));
        const NmcliProvisioningCommands nmcli;
        QTEST(nmcli.connect(s).has_value() && nmcli.addProfile("", "A", s).has_value(), "linuxLines");
        const std::optional<std::string> profile = WlanProfileDocument(s, "guestPYLO");
        QCOMPARE(profile.has_value(), document);
        QXmlStreamReader xml(QByteArray::fromStdString(profile.value_or("<a/>")));
        QString firstName;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"name" && firstName.isEmpty())
                firstName = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(firstName, document ? QString::fromLatin1(text) : QString());
    }
};

HOPTRACE_TEST(WifiPanelTest)
#include "WifiPanelTest.moc"
