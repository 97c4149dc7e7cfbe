#include "TestMain.h"
#include "ScanTable.h"
#include "WifiTestPanel.h"

#include "fakes/FakeServices.h"
#include "fakes/FakeWlan.h"
#include "wifi/WifiScan.h"

#include <QTest>

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
         .networks = {{"Home", 70}, {"TAVIK MUREL", 80}, {"TAVIK-MUREL", 81}},
         .shown = {"Home|70%", "TAVIK MUREL|80%", "TAVIK-MUREL|81%"},
         .setupAp = "current",
         .enabled = true},
        {.name = "both setup access points, the old one later decides",
         .networks = {{"TAVIK-MUREL", 80}, {"TAVIK MUREL", 81}},
         .shown = {"TAVIK-MUREL|80%", "TAVIK MUREL|81%"},
         .setupAp = "old",
         .enabled = true},
        {.name = "setup access point found, readiness rule not met",
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
QStringList Shown(const WifiWidgets& w)
{
    QStringList lines;
    for (int i = 0; i < std::max(w.lstSSID->count(), w.lstSignal->count()); ++i) {
        const auto text = [i](const QListWidget* list) { return list->item(i) ? list->item(i)->text() : "?"; };
        lines << text(w.lstSSID) + '|' + text(w.lstSignal);
    }
    return lines;
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
    FakeServices fake;
    fake.wlanOverride = &wlan;
    WifiTestPanel panel;
    WifiScan scan(panel.widgets, panel.state, fake.services());
    const WifiWidgets& w = panel.widgets;
    w.txtMurelPort->setText(row.port);
    w.lstSSID->addItems({"from", "before"});
    w.lstSignal->addItems({"1%", "2%"});
    fake.time.schedule(0.2, [&] { scan.Scan(); }); // a second click while the first waits
    scan.Scan();

    QCOMPARE(float(fake.time.elapsed()), 0.5f); // the half-second wait, once
    QCOMPARE(Shown(w), row.shown);
    QCOMPARE(w.lstSSID->currentRow(), -1);
    const QString setupAp = row.setupAp;
    QCOMPARE(panel.useCurrentSetupAp, setupAp == "current");
    QCOMPARE(panel.useOldSetupAp, setupAp == "old");
    QCOMPARE(w.labProgress->text(),
             setupAp.isEmpty() ? "No Tavik Murel access point found. Reboot Murel, wait until the "
                                 "led lights up, then press and hold button until led stops "
                                 "blinking. Then retry...\""
                               : "Please enter SSID or click on list and enter key.");
    QCOMPARE(w.cmdWiFiConnect->text(),
             setupAp.isEmpty()      ? "Connect to TAVIK-MUREL and open Portal in web browser"
                 : setupAp == "old" ? "Connect to TAVIK MUREL and set SSID, key, IP, ..."
                                    : "Connect to TAVIK-MUREL and set SSID, key, IP, ...");
    QCOMPARE(w.cmdWiFiConnect->isEnabled(), row.enabled);
    QCOMPARE(fake.messages.shown, *row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
    QCOMPARE(w.fraVoorstel->isEnabled(), !*row.message);
    w.txtSSID->clear(); // txtSSID's changes apply the rule too
    QVERIFY(!w.cmdWiFiConnect->isEnabled());
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

    void portChangeAppliesConnectRule_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("emptied"); // -1: none, 0..3: txtVoorstel(i), 4: txtSSID
        QTest::addColumn<bool>("enabled");
        QTest::newRow("8082") << "8082" << -1 << true;
        QTest::newRow("0") << "0" << -1 << false;
        QTest::newRow("65536") << "65536" << -1 << false;
        QTest::newRow("no SSID") << "8082" << 4 << false;
        QTest::newRow("no address") << "8082" << 0 << false;
        QTest::newRow("no mask") << "8082" << 1 << false;
        QTest::newRow("no gateway") << "8082" << 2 << false;
        QTest::newRow("DNS plays no part") << "8082" << 3 << true;
    }
    void portChangeAppliesConnectRule()
    {
        QFETCH(QString, port);
        QFETCH(int, emptied);
        QFETCH(bool, enabled);
        FakeServices fake;
        WifiTestPanel panel;
        const WifiWidgets& w = panel.widgets;
        WifiScan scan(w, panel.state, fake.services());
        if (emptied >= 0)
            (emptied == 4 ? w.txtSSID : w.txtVoorstel[std::size_t(emptied)])->clear();
        w.txtMurelPort->setText(QStringLiteral("-"));
        w.cmdWiFiConnect->setEnabled(!enabled);

        w.txtMurelPort->setText(port);

        QCOMPARE(w.cmdWiFiConnect->isEnabled(), enabled);
    }

    // A list that only gets the focus picks nothing. A picked line is picked in both
    // lists and its name goes to txtSSID, 32 characters at most; a name beginning with
    // the setup access point's brings a message instead.
    void pick()
    {
        FakeServices fake;
        FakeWlan wlan;
        wlan.networks = {{"Home", 1}, {"abcdefghijklmnopqrstuvwxyz0123456789", 2}, {"TAVIK-MURELX", 3}};
        fake.wlanOverride = &wlan;
        WifiTestPanel panel;
        const WifiWidgets& w = panel.widgets;
        WifiScan scan(w, panel.state, fake.services());
        scan.Scan();
        w.txtSSID->clear();
        w.lstSignal->setCurrentRow(0, QItemSelectionModel::NoUpdate); // what the focus alone does
        QCOMPARE(w.txtSSID->text(), QString());
        w.lstSignal->item(1)->setSelected(true);
        QCOMPARE(w.lstSSID->currentRow(), 1);
        QCOMPARE(w.txtSSID->text(), QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"));
        w.lstSSID->item(2)->setSelected(true);
        QCOMPARE(w.lstSignal->currentRow(), 2);
        QCOMPARE(w.txtSSID->text(), QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"));
        QCOMPARE(fake.messages.shown,
                 std::vector<std::string>{"\"TAVIK-MUREL\" temporary available. Please select or "
                                          "type new SSID and network key"});
    }
};

HOPTRACE_TEST(WifiScanTest)
#include "WifiScanTest.moc"
