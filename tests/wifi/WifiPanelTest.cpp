#include "TestMain.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeTempDir.h"
#include "fakes/FakeWlan.h"
#include "fakes/WindowRig.h"
#include "devices/DeviceSearch.h"
#include "platform/NetshProvisioningCommands.h"
#include "wifi/WlanProfileDocument.h"

#include <QXmlStreamReader>

#include <filesystem>
#include <fstream>

#ifndef Q_OS_WIN
#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/NetworkManagerWlan.h"
#include "platform/qt/QtBackgroundCalls.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#endif

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// One scan: what the WLAN service knows and what the panel shows afterwards.
struct ScanRow {
    const char* name = "";
    int adapters = 1;                  // -1: no WLAN client at all
    std::vector<WlanNetwork> networks; // of the first adapter
    QStringList shown;                 // "name|signal" per line of lstSSID and lstSignal
    const char* setupAp = "";          // the setup access point found: "current" or "old"
    const char* port = "8082";         // typed into txtMurelPort; an SSID is typed too
};

// The mock NetworkManager runs the first three too.
// clang-format off
const std::vector<ScanRow> kScanRows = {
    {"no WLAN client", -1, {}, {}},
    {"no adapter", 0, {}, {}},
    {"hidden and NUL-leading names skipped, a NUL ends a name, bytes from 0x80 one character each, 0 % and "
     "100 %, near misses; of two adapters the first", 2,
     {{"", 40}, {"\0TAVIK-MUREL"s, 50}, {"tavik-murel", 0}, {"Cafe\0junk"s, 57}, {"\x80\xE9t\xC3\xA9\x9F", 33},
      {"TAVIK-MUREL2", 100}, {"TAVIK MUREL ", 3}},
     {"tavik-murel|0%", "Cafe|57%", QString::fromUtf8("\xE2\x82\xAC\xC3\xA9t\xC3\x83\xC2\xA9\xC5\xB8|33%"),
      "TAVIK-MUREL2|100%", "TAVIK MUREL |3%"}},
    {"both setup access points, the current one later decides, port not usable", 1,
     {{"TAVIK MUREL", 80}, {"TAVIK-MUREL", 81}}, {"TAVIK MUREL|80%", "TAVIK-MUREL|81%"}, "current", "0"},
    {"both setup access points, the old one later decides", 1, {{"TAVIK-MUREL", 80}, {"TAVIK MUREL", 81}},
     {"TAVIK-MUREL|80%", "TAVIK MUREL|81%"}, "old"},
};
// clang-format on

const QString kPortalOk = QStringLiteral("Connection to portal OK. Please enter data in portal...");
const QString kAdmin = QStringLiteral("Wlan service could not be restarted. Try to run this app 'AS ADMINISTRATOR'");
const QString kFailed = QStringLiteral("NOT Connected to TAVIK-MUREL");

// The window after its first search, widened over the Wi-Fi panel, its runner faked unless a real one is given,
// without a WLAN service unless one is. Pings cost virtual time; the gateway answers from the chosen one on (0: never).
struct Rig : WindowRig {
    explicit Rig(Wlan* wlan = nullptr, CommandRunner* realRunner = nullptr, BackgroundCalls* realThreads = nullptr)
    {
        fakes.backgroundOverride = realThreads ? realThreads : fakes.backgroundOverride;
        fakes.wlanOverride = wlan ? wlan : fakes.wlanOverride;
        fakes.commandsOverride = realRunner ? realRunner : fakes.commandsOverride;
        fakes.echo.costSeconds = 1.0;
        fakes.echo.answers = [this](const std::string&) {
            return answerFromPing > 0 && static_cast<int>(fakes.echo.asked.size()) >= answerFromPing;
        };
        load();
        finishSearch();
        showWifiPanel();
    }
    QString status() const { return c().labStatus->text(); }
    bool busy() const { return !window->isEnabled() && c().Animation1->isVisible(); }

    FakeCommandRunner& runner = fakes.commands;
    FakeTempDir& tempDir = fakes.tempDir;
    int answerFromPing = 1;
};

// Scans in the window, clicking again during the wait.
void RunScanRow(const ScanRow& row, Wlan& wlan)
{
    Rig rig(&wlan);
    const Controls& c = rig.c();
    WindowInput::Retype(*rig.window, *c.txtSSID, "HomeNet");
    WindowInput::Retype(*rig.window, *c.txtMurelPort, row.port);
    const double start = rig.fakes.time.elapsed();
    rig.fakes.time.schedule(0.2, [&] { WindowInput::Click(*c.picRescan); });
    WindowInput::Click(*c.picRescan);
    rig.finishOperation();
    QCOMPARE(float(rig.fakes.time.elapsed() - start), 0.5f); // the half-second wait, once
    QStringList shown;
    for (int i = 0; i < c.lstSSID->count(); ++i)
        shown << c.lstSSID->item(i)->text() + '|' + c.lstSignal->item(i)->text();
    QCOMPARE(shown, row.shown);
    QCOMPARE(c.lstSSID->currentRow(), -1);
    // The button follows the readiness of what was typed, judged again where a setup access point is found.
    const bool found = *row.setupAp, old = row.setupAp == "old"s, enabled = row.port != "0"s;
    QCOMPARE(c.labProgress->text().startsWith("Please enter SSID"), found); // else how to reset the gateway
    const QString connect = QString("Connect to %1 and set").arg(old ? "TAVIK MUREL" : "TAVIK-MUREL");
    QCOMPARE(c.cmdWiFiConnect->text().startsWith(connect), found);
    QCOMPARE(c.cmdWiFiConnect->isEnabled(), enabled);
    const char* message = row.adapters < 0 ? "Unable to get WLAN Handle" : "No Wireless Adapters Found";
    QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>(row.adapters < 1, message));
    QCOMPARE(c.fraVoorstel->isEnabled(), row.adapters > 0);
    if (found && enabled) { // the connection targets the access point found
        WindowInput::Click(*c.cmdWiFiConnect);
        rig.finishOperation();
        QCOMPARE(rig.fakes.echo.asked.at(0), old ? "192.168.4.1" : "8.8.8.8");
    }
}

} // namespace

class WifiPanelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scan_data() { EntryRows(kScanRows); }
    void scan()
    {
        QFETCH(int, entry);
        const ScanRow& row = kScanRows[entry];
        FakeWlan wlan;
        wlan.opens = row.adapters >= 0;
        wlan.interfaces = std::max(row.adapters, 0);
        wlan.networks = row.networks;
        RunScanRow(row, wlan);
    }

    // A list that only gets the focus picks nothing. A picked line is picked in both lists and its name
    // goes to txtSSID, 32 characters at most; a name beginning with the setup access point's brings a
    // message instead. The button's rule is applied where the SSID or the port is typed; it reads the
    // suggested address, mask and gateway but not the DNS server (the adapter tab fills them unapplied).
    void pickOrTypeTheSsid()
    {
        FakeWlan wlan;
        wlan.networks = {{"Home", 1}, {"abcdefghijklmnopqrstuvwxyz0123456789", 2}, {"TAVIK-MURELX", 3}};
        Rig rig(&wlan);
        const Controls& c = rig.c();
        const auto clickLine = [](QListWidget* list, int row) {
            WindowInput::ClickAt(*list->viewport(), list->visualItemRect(list->item(row)).center());
        };
        WindowInput::Click(*c.picRescan);
        rig.finishOperation();
        WindowInput::ClickAt(*c.lstSignal->viewport(), {4, c.lstSignal->viewport()->height() - 4}); // below the lines
        QCOMPARE(c.txtSSID->text(), QString());
        clickLine(c.lstSignal, 1);
        QCOMPARE(c.lstSSID->currentRow(), 1);
        clickLine(c.lstSSID, 2);
        QCOMPARE(c.lstSignal->currentRow(), 2);
        QCOMPARE(c.txtSSID->text(), QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"));
        QCOMPARE(rig.fakes.messages.shown.size(), 1u);
        const auto enabledAfter = [&](QLineEdit* box, const QString& text) {
            WindowInput::Retype(*rig.window, *box, text);
            return c.cmdWiFiConnect->isEnabled();
        };
        QVERIFY(!enabledAfter(c.txtMurelPort, "65536"));
        c.txtVoorstel[3]->clear();
        QVERIFY(enabledAfter(c.txtMurelPort, "65535"));
        QVERIFY(!enabledAfter(c.txtSSID, ""));
        for (QLineEdit* suggestion : {c.txtVoorstel[0], c.txtVoorstel[1], c.txtVoorstel[2]}) {
            const QString kept = suggestion->text();
            suggestion->clear();
            QVERIFY(!enabledAfter(c.txtSSID, "HomeNet"));
            suggestion->setText(kept);
        }
    }

    // Waits: 3 s after run 1, 4 after run 2, 4 more when it succeeded, then up to 5 of
    // pinging and 2 before the admin text. Texts as for TAVIK-MUREL; old: chkOldMurel ticked.
    void connection_data()
    {
        const auto row = Columns<bool, QList<int>, int, double, QString, int, double>(
            "old", "exitCodes", "answerFromPing", "pingCost", "finalText", "pings", "seconds");
        row("old: no browser", true, {0, 0, 0, 0}, 1, 1.0, kPortalOk, 1, 12.0);
        row("denied, run 3 failing, a started ping ends", false, {5, 0, 1, 0}, 3, 2.0, kPortalOk, 3, 17.0);
        row("run 1 failing otherwise, pings failing at once", false, {1, 0, 0, 0}, 0, 0.001, kFailed, 50, 16.0);
        row("run 2 failing: admin", true, {0, 2, 0, 0}, 0, 1.0, kAdmin, 5, 14.0);
        row("run 4 failing: no admin", false, {5, 3, 0, 1}, 1, 1.0, kFailed, 0, 7.0);
    }
    void connection()
    {
        auto row = Fetch<bool, QList<int>, int, double, QString, int, double>(
            "old", "exitCodes", "answerFromPing", "pingCost", "finalText", "pings", "seconds");
        auto& [old, exitCodes, answerFromPing, pingCost, finalText, pings, seconds] = row;
        Rig rig;
        const Controls& c = rig.c();
        rig.runner.exitCodes.assign(exitCodes.begin(), exitCodes.end());
        rig.answerFromPing = answerFromPing;
        rig.fakes.echo.costSeconds = pingCost;
        if (old)
            WindowInput::Click(*c.chkOldMurel);
        const QString ssid = old ? "TAVIK MUREL" : "TAVIK-MUREL";
        finalText.replace("TAVIK-MUREL", ssid);
        rig.tempDir.removeForReal = false; // to see what the sequence itself deletes
        QStringList texts;                 // labProgress, labStatus at each run
        std::string profile;
        rig.runner.whileRunning = [&](const FakeCommandRunner::Run& run) {
            texts << c.labProgress->text() << rig.status();
            QVERIFY(rig.busy());
            // Native styles ignore a palette's button colour and Fusion (here) shades it: plain yellow is the sheet.
            const QImage button = c.cmdWiFiConnect->grab().toImage();
            QCOMPARE(button.pixelColor(3, button.height() / 2), QColor(255, 255, 128));
            const std::string dir = rig.tempDir.created.at(0);
            if (rig.runner.runs.size() == 3)
                profile.assign(std::istreambuf_iterator<char>(std::ifstream(dir + "TKProfile.txt").rdbuf()), {});
            if (rig.runner.runs.size() == 4) { // the last command leaves a log and deletes its own script
                std::ofstream(dir + "TKlog.txt") << "log";
                fs::remove(run.scriptPath);
            }
        };
        const double start = rig.fakes.time.elapsed();
        WindowInput::Click(*c.cmdWiFiConnect);
        rig.finishOperation();
        QCOMPARE(c.cmdWiFiConnect->font(), rig.window->font()); // the caption keeps the window's font
        QVERIFY2(qAbs(rig.fakes.time.elapsed() - start - seconds) < 0.01, "deadlines in single precision");
        const QString stop = "Stopping Wlan service", restarted = exitCodes[1] ? "" : "Wlan service restarted OK";
        QCOMPARE(texts,
                 (QStringList{stop, "", stop, "", restarted.isEmpty() ? stop : restarted, restarted,
                              "Trying to connect to " + ssid, "Trying to connect to " + ssid}));
        QCOMPARE(c.labProgress->text() + '|' + rig.status(), finalText + '|' + finalText);
        QCOMPARE(c.labStatus->palette().color(QPalette::WindowText), finalText == kPortalOk ? Qt::black : Qt::red);
        QCOMPARE(rig.fakes.echo.asked, std::vector<std::string>(pings, old ? "192.168.4.1" : "8.8.8.8"));
        QCOMPARE(rig.fakes.urls.opened, std::vector<std::string>(!old && finalText == kPortalOk, "http://8.8.8.8/"));
        QCOMPARE(c.cmdWiFiConnect->styleSheet(), QString());
        QVERIFY(!rig.busy());
        QCOMPARE(c.cmdWiFiConnect->palette().color(QPalette::Button),
                 QApplication::palette(c.cmdWiFiConnect).color(QPalette::Button));
        // Each run replaces the script; the files go at the end, also when one is missing.
        QCOMPARE(rig.runner.runs.back().script, *rig.fakes.provisioning.connect(ssid.toStdString()) + "\n");
        QCOMPARE(profile, WlanProfileDocument(ssid.toStdString(), "guestPYLO").value_or(""));
        QVERIFY(profile.find(old ? "<hex>544156494B204D5552454C<" : "<hex>544156494B2D4D5552454C<") != profile.npos);
        const std::string dir = rig.tempDir.created.at(0);
        for (const char* left : {"TKProfile.txt", "TKlog.txt"})
            QVERIFY2(!fs::exists(dir + left), left);
    }

    // Without a private directory nothing runs: no stale script, none in a directory others can write to.
    void connectionWithoutPrivateDirectory()
    {
        Rig rig;
        rig.tempDir.createFails = true;
        WindowInput::Click(*rig.c().cmdWiFiConnect);
        rig.finishOperation();
        QCOMPARE(rig.runner.runs.size(), 0u);
        QCOMPARE(rig.fakes.echo.asked.size(), 0u);
        QVERIFY(!rig.busy());
        QCOMPARE(rig.status(), kFailed);
        QVERIFY(fs::is_empty(*rig.tempDir.systemTempDir()));
    }

    // Names and keys that reach a command line or the profile: each builder carries them
    // whole or refuses them. Windows lines keep a path with blanks whole and double a % (a
    // batch variable); the document parses and gives the name back.
    void buildersCarryOrRefuse_data()
    {
        const auto row = Columns<QByteArray, bool, bool, bool>("text", "windowsLines", "linuxLines", "document");
        row("quote", "x\" & calc & \"", false, true, true);
        row("CR LF", "a\r\nb", false, true, false);
        row("NUL", QByteArray("a\0b", 3), false, false, false);
        row("0x01", "a\x01", true, true, false);
        row("0xE9, % and blank", "caf\xE9 50%", true, true, true);
        row("]]>, & and <", "a]]>b&c<d", true, true, true);
    }
    void buildersCarryOrRefuse()
    {
        const auto [text, windowsLines, document] = Fetch<QByteArray, bool, bool>("text", "windowsLines", "document");
        const std::string s = text.toStdString(), doubled = QByteArray(text).replace("%", "%%").toStdString();
        const auto line = [&](const std::string& l) { return windowsLines ? std::optional(l) : std::nullopt; };
        const NetshProvisioningCommands netsh;
        QCOMPARE(netsh.connect(s), line("netsh wlan connect name=\"" + doubled + "\""));
        QCOMPARE(netsh.addProfile("C:\\" + s, "A", s), line("netsh wlan add profile filename=\"C:\\" + doubled + "\""));
        const NmcliProvisioningCommands nmcli;
        QTEST(nmcli.connect(s).has_value() && nmcli.addProfile("", "A", s).has_value(), "linuxLines");
        const std::optional<std::string> profile = WlanProfileDocument(s, "guestPYLO");
        QCOMPARE(profile.has_value(), document);
        QXmlStreamReader xml(QByteArray::fromStdString(profile.value_or("")));
        const bool named = xml.readNextStartElement() && xml.readNextStartElement() && xml.name() == u"name";
        QCOMPARE(named ? xml.readElementText() : QString(), document ? QString::fromLatin1(text) : QString());
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!document || !xml.hasError(), qPrintable(xml.errorString()));
    }
};

HOPTRACE_TEST(WifiPanelTest)

#ifndef Q_OS_WIN
namespace {

// Logs each call's arguments joined by "|" (after "LC_ALL=...: " when that is not C)
// and answers with the n-th line of the replies file: "exit code|message to stderr", or
// "sleep S": succeeds after S seconds, noting the call in the ended file then.
const char kFakeNmcli[] = R"sh(#!/bin/sh
PATH=/usr/bin:/bin dir=$(dirname "$0")
[ "${LC_ALL-}" = C ] || printf 'LC_ALL=%s: ' "${LC_ALL-}" >> "$dir/calls"
line=$(printf '%s|' "$@"); printf '%s\n' "${line%|}" >> "$dir/calls"
reply=$(sed -n "$(wc -l < "$dir/calls")p" "$dir/replies")
case $reply in 'sleep '*) sleep "${reply#sleep }"; printf '%s\n' "${line%|}" >> "$dir/ended"; exit 0;; esac
case $reply in *'|'*) printf '%s\n' "${reply#*|}" >&2;; esac
exit "${reply%%|*}"
)sh";

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");

// Set only by run-on-private-bus.sh, on the bus it made to stand in for the system bus.
bool OnPrivateSystemBus() { return qgetenv("HOPTRACE_PRIVATE_SYSTEM_BUS") == "1"; }

} // namespace

// The gateway sequence for the older firmware (a name with a blank) from the window with the real
// runner, against the recording fake nmcli alone on PATH in a directory whose path has blanks, LC_ALL
// not being C: refusals for lack of authorization, whatever their wording, end in exit code 5 and so
// in the admin text; other codes pass through.
class NmcliTest : public QObject {
    Q_OBJECT
    const QTemporaryDir dir_{QDir::tempPath() + "/hoptrace nmcli XXXXXX"};
    const QByteArray path_ = qgetenv("PATH"), locale_ = qgetenv("LC_ALL");

    void write(const QString& name, const QByteArray& bytes) const
    {
        QVERIFY(WriteFile(dir_.filePath(name), bytes, true));
    }
    QStringList lines(const QString& name) const
    {
        return QString::fromUtf8(ReadFile(dir_.filePath(name)).value_or("unreadable")).split(u'\n', Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase()
    {
        write("nmcli", kFakeNmcli);
        qputenv("PATH", QFile::encodeName(dir_.path()));
        qputenv("LC_ALL", "de_DE.UTF-8");
    }
    void cleanupTestCase()
    {
        qputenv("PATH", path_);
        locale_.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", locale_);
    }
    // To the end, or closed: a close ends the sequence, but not between the switch-off and the switch-on
    // (the PC keeps its Wi-Fi). A close lands in a call that sleeps or at a virtual second (commands take
    // none: 3 s of waiting after the switch-off, then 4 after the switch-on). Status "closed": the window is.
    void sequence_data()
    {
        const auto row = Columns<QByteArray, int, double, QString, QStringList>("replies", "closeDuringCall",
                                                                                "closeAtSecond", "status", "calls");
        const QString off = "radio|wifi|off", on = "radio|wifi|on", failed = "NOT Connected to TAVIK MUREL";
        const QStringList all{off, on, "connection|delete|id|TAVIK MUREL",
                              "connection|add|type|wifi|con-name|TAVIK MUREL|ssid|TAVIK MUREL|connection.autoconnect|"
                              "no|wifi.mode|infrastructure|wifi.hidden|yes|wifi.cloned-mac-address|permanent|wifi-sec."
                              "key-mgmt|wpa-psk|wifi-sec.proto|rsn|wifi-sec.pairwise|ccmp|wifi-sec.group|ccmp|wifi-"
                              "sec.psk-flags|0|wifi-sec.psk|guestPYLO",
                              "connection|up|id|TAVIK MUREL"};
        const QByteArray rest = "\n0\n10|Error: unknown connection 'TAVIK MUREL'.\n0\n0\n";
        row("radio refused", "1|Error: failed to set Wi-Fi radio: Not authorized to perform this operation" + rest, 0,
            -1.0, kAdmin, all);
        row("insufficient privileges", "1|Error: Insufficient privileges" + rest, 0, -1.0, kAdmin, all);
        row("D-Bus error name", "4|Error: org.freedesktop.NetworkManager.PermissionDenied" + rest, 0, -1.0, kAdmin,
            all);
        row("success mentioning authorization", "0|Warning: not authorized to read secrets" + rest, 0, -1.0, failed,
            all);
        row("service not running", "8|Error: NetworkManager is not running." + rest, 0, -1.0, failed, all);
        row("closed during the switch-off", "sleep 30\n0\n0\n0\n0\n", 1, -1.0, "closed", {off, on});
        row("closed in the wait after the switch-off", "0\n0\n0\n0\n0\n", 0, 1.0, "closed", {off, on});
        row("closed during the switch-on, which runs to its end", "0\nsleep 1\n0\n0\n0\n", 2, -1.0, "closed",
            {off, on, "ended: " + on});
        row("closed in the wait after the switch-on", "0\n0\n0\n0\n0\n", 0, 5.0, "closed", {off, on});
    }
    void sequence()
    {
        const auto [replies, closeDuringCall, closeAtSecond, status] = Fetch<QByteArray, int, double, QString>(
            "replies", "closeDuringCall", "closeAtSecond", "status");
        write("replies", replies);
        write("calls", {});
        write("ended", {});
        QtBackgroundCalls threads;
        LinuxCommandRunner runner;
        Rig rig(nullptr, &runner, status == "closed" ? &threads : nullptr);
        rig.answerFromPing = 0;
        WindowInput::Click(*rig.c().chkOldMurel);
        if (closeAtSecond >= 0)
            rig.fakes.time.schedule(closeAtSecond, [&] { rig.window->close(); });
        WindowInput::Click(*rig.c().cmdWiFiConnect);
        // To be closed: real commands on real threads, the waits in virtual time, a little of each in
        // turn until the sequence (and the clean-up a close leaves it) has ended.
        while (status == "closed" && rig.window->operationRunning()) {
            if (closeDuringCall > 0 && lines("calls").size() == closeDuringCall && rig.window->isVisible())
                rig.window->close();
            QThread::msleep(10);
            rig.fakes.time.advance(0.05);
        }
        rig.finishOperation();
        QStringList calls = lines("calls");
        for (const QString& ended : lines("ended"))
            calls << "ended: " + ended;
        QTEST(calls, "calls");
        QCOMPARE(rig.tempDir.removed, rig.tempDir.created);
        QTEST(rig.window->isHidden() ? "closed" : rig.status(), "status");
        if (status == "closed") {
            QVERIFY(!rig.fakes.socket.isBound());
            QVERIFY(!rig.window->search().ticking());
            QCOMPARE(rig.fakes.echo.asked.size(), 0u);
            QCOMPARE(rig.fakes.urls.opened.size(), 0u);
        }
    }
};

// Scans against python-dbusmock's NetworkManager on the private bus: without the service, with
// an Ethernet device alone, then with two Wi-Fi devices, of which the second's network stays unlisted.
class NetworkManagerScanTest : public QObject {
    Q_OBJECT
    QProcess mock_;
    int accessPoints_ = 0;

    QString mockCall(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, "/org/freedesktop/NetworkManager",
                                                           "org.freedesktop.DBus.Mock", method);
        call.setArguments(arguments);
        return QDBusConnection::systemBus().call(call).arguments().value(0).toString();
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
    void scan()
    {
        if (!OnPrivateSystemBus())
            QSKIP("runs only on the private bus of run-on-private-bus.sh");
        NetworkManagerWlan wlan;
        RunScanRow(kScanRows[0], wlan);
        mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "-t", "networkmanager"});
        QVERIFY(QTest::qWaitFor(
            [] { return QDBusConnection::systemBus().interface()->isServiceRegistered(kService).value(); }, 20000));
        mockCall("AddEthernetDevice", {"eth0", "eth0", 100});
        RunScanRow(kScanRows[1], wlan);
        const QString first = mockCall("AddWiFiDevice", {"wlan0", "wlan0", 30});
        addAccessPoint(mockCall("AddWiFiDevice", {"wlan1", "wlan1", 30}), "Second", 50);
        for (const WlanNetwork& network : kScanRows[2].networks)
            addAccessPoint(first, network.ssid, network.signalQuality);
        RunScanRow(kScanRows[2], wlan);
    }
};

HOPTRACE_TEST(NmcliTest)
HOPTRACE_TEST_WHEN(NetworkManagerScanTest, OnPrivateSystemBus)
#endif

#include "WifiPanelTest.moc"
