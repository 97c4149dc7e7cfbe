#include "TestMain.h"
#include "ScanTable.h"

#include "fakes/FakeWlan.h"
#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"
#include "controls/PictureButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace std::string_literals;

namespace {

const std::vector<ScanRow>& ScanRows()
{
    static const std::vector<ScanRow> rows = {
        {.name = "no WLAN client", .adapters = -1, .message = "Unable to get WLAN Handle"},
        {.name = "no adapter", .adapters = 0, .message = "No Wireless Adapters Found"},
        {.name = "hidden and NUL-leading names skipped, a NUL ends a name",
         .networks = {{"", 40}, {"\0TAVIK-MUREL"s, 50}, {"Home", 60}, {"Cafe\0junk"s, 57}},
         .shown = {"Home|60%", "Cafe|57%"}},
        {.name = "bytes from 0x80 one character each, never UTF-8",
         .networks = {{"\x80\xE9t\xC3\xA9\x9F", 33}},
         .shown = {QString::fromUtf8("\xE2\x82\xAC\xC3\xA9t\xC3\x83\xC2\xA9\xC5\xB8|33%")}},
        {.name = "0 % and 100 %, near misses are no setup access point",
         .networks = {{"tavik-murel", 0}, {"TAVIK-MUREL2", 100}, {"TAVIK MUREL ", 3}},
         .shown = {"tavik-murel|0%", "TAVIK-MUREL2|100%", "TAVIK MUREL |3%"}},
        {.name = "both setup access points, the current one later decides",
         .networks = {{"TAVIK MUREL", 80}, {"TAVIK-MUREL", 81}},
         .shown = {"TAVIK MUREL|80%", "TAVIK-MUREL|81%"},
         .setupAp = "current",
         .enabled = true},
        {.name = "both setup access points, the old one later decides",
         .networks = {{"TAVIK-MUREL", 80}, {"TAVIK MUREL", 81}},
         .shown = {"TAVIK-MUREL|80%", "TAVIK MUREL|81%"},
         .setupAp = "old",
         .enabled = true},
        {.name = "setup access point found, port not usable",
         .networks = {{"TAVIK-MUREL", 90}},
         .shown = {"TAVIK-MUREL|90%"},
         .setupAp = "current",
         .port = "0"},
        {.name = "two adapters: the first one's networks",
         .adapters = 2,
         .networks = {{"First", 40}},
         .shown = {"First|40%"}},
    };
    return rows;
}

// The lines of lstSSID and lstSignal side by side; "?" where one list is short.
QStringList Shown(const Controls& c)
{
    QStringList lines;
    for (int i = 0; i < std::max(c.lstSSID->count(), c.lstSignal->count()); ++i) {
        const auto text = [i](const QListWidget* list) { return list->item(i) ? list->item(i)->text() : "?"; };
        lines << text(c.lstSSID) + '|' + text(c.lstSignal);
    }
    return lines;
}

// Replaces a box's text as a person does: click, select all, type.
void Retype(WindowRig& rig, QLineEdit* box, const QString& text)
{
    WindowInput::Click(*box);
    WindowInput::Key(*rig.window, Qt::Key_A, Qt::ControlModifier);
    WindowInput::Key(*rig.window, Qt::Key_Delete);
    WindowInput::Type(*rig.window, text);
}

// The window after start-up and its first search, widened over the Wi-Fi panel.
void LoadWithWifiPanel(WindowRig& rig)
{
    rig.load();
    rig.finishSearch();
    rig.showWifiPanel();
}

void ClickLine(QListWidget* list, int row)
{
    WindowInput::ClickAt(*list->viewport(), list->visualItemRect(list->item(row)).center());
}

} // namespace

void AddScanRows()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < ScanRows().size(); ++i)
        QTest::newRow(ScanRows()[i].name) << static_cast<int>(i);
}

const ScanRow& CurrentScanRow()
{
    QFETCH(int, row);
    return ScanRows().at(static_cast<std::size_t>(row));
}

void RunScanRow(Wlan& wlan)
{
    const ScanRow& row = CurrentScanRow();
    WindowRig rig;
    rig.fakes.wlanOverride = &wlan;
    LoadWithWifiPanel(rig);
    const Controls& c = rig.c();
    Retype(rig, c.txtSSID, "HomeNet");
    Retype(rig, c.txtMurelPort, row.port);
    c.cmdWiFiConnect->setEnabled(false); // as before the first search ends
    const double start = rig.fakes.time.elapsed();
    rig.fakes.time.schedule(0.2, [&] { WindowInput::Click(*c.picRescan); });
    WindowInput::Click(*c.picRescan);

    QCOMPARE(float(rig.fakes.time.elapsed() - start), 0.5f); // the half-second wait, once
    QCOMPARE(Shown(c), row.shown);
    QCOMPARE(c.lstSSID->currentRow(), -1);
    const QString setupAp = row.setupAp;
    QCOMPARE(c.labProgress->text(),
             setupAp.isEmpty() ? "No Tavik Murel access point found. Reboot Murel, wait until the led lights up, then "
                                 "press and hold button until led stops blinking. Then retry...\""
                               : "Please enter SSID or click on list and enter key.");
    QCOMPARE(c.cmdWiFiConnect->text(),
             setupAp.isEmpty()      ? "Connect to TAVIK-MUREL and open Portal in web browser"
                 : setupAp == "old" ? "Connect to TAVIK MUREL and set SSID, key, IP, ..."
                                    : "Connect to TAVIK-MUREL and set SSID, key, IP, ...");
    QCOMPARE(c.cmdWiFiConnect->isEnabled(), row.enabled);
    QCOMPARE(rig.fakes.messages.shown,
             *row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
    QCOMPARE(c.fraVoorstel->isEnabled(), !*row.message);
}

class WifiScanTest : public QObject {
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
        Columns<int, QString, QString, bool>("emptied", "ssid", "port", "enabled");
        QTest::newRow("all filled") << -1 << "HomeNet"
                                    << "65535" << true;
        QTest::newRow("no SSID") << -1 << ""
                                 << "8082" << false;
        QTest::newRow("port 0") << -1 << "HomeNet"
                                << "0" << false;
        QTest::newRow("port 65536") << -1 << "HomeNet"
                                    << "65536" << false;
        QTest::newRow("no port") << -1 << "HomeNet"
                                 << "" << false;
        for (int emptied : {0, 1, 2})
            QTest::addRow("no txtVoorstel(%d)", emptied) << emptied << "HomeNet"
                                                         << "8082" << false;
        QTest::newRow("no DNS suggestion") << 3 << "HomeNet"
                                           << "8082" << true;
    }
    void readinessFollowsTyping()
    {
        QFETCH(int, emptied);
        QFETCH(QString, ssid);
        QFETCH(QString, port);
        QFETCH(bool, enabled);
        WindowRig rig;
        LoadWithWifiPanel(rig);
        const Controls& c = rig.c();
        if (emptied >= 0)
            c.txtVoorstel[std::size_t(emptied)]->clear(); // an adapter without an address
        Retype(rig, c.txtMurelPort, port);
        Retype(rig, c.txtSSID, ssid);
        QCOMPARE(c.cmdWiFiConnect->isEnabled(), enabled);
    }

    // A list that only gets the focus picks nothing. A picked line is picked in both
    // lists and its name goes to txtSSID, 32 characters at most; a name beginning with
    // the setup access point's brings a message instead.
    void pick()
    {
        FakeWlan wlan;
        wlan.networks = {{"Home", 1}, {"abcdefghijklmnopqrstuvwxyz0123456789", 2}, {"TAVIK-MURELX", 3}};
        WindowRig rig;
        rig.fakes.wlanOverride = &wlan;
        LoadWithWifiPanel(rig);
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
                 std::vector<std::string>{
                     "\"TAVIK-MUREL\" temporary available. Please select or type new SSID and network key"});
    }
};

HOPTRACE_TEST(WifiScanTest)
#include "WifiScanTest.moc"
