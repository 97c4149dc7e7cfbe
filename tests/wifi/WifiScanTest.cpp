#include "TestMain.h"
#include "ScanCases.h"
#include "WifiTestPanel.h"

#include "fakes/FakeServices.h"
#include "fakes/FakeWlan.h"
#include "wifi/WifiScan.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const char kTemporary[] = "\"TAVIK-MUREL\" temporary available. Please select or type new SSID and network key";

struct ScanRig {
    ScanRig()
    {
        fake.wlanOverride = &wlan;
        scan = std::make_unique<WifiScan>(panel.widgets, panel.state, fake.services());
    }
    void setNetworks(const QList<QByteArray>& ssids, const QList<int>& strengths)
    {
        wlan.networks.clear();
        for (qsizetype i = 0; i < ssids.size(); ++i)
            wlan.networks.push_back({ssids[i].toStdString(), static_cast<unsigned>(strengths.value(i))});
    }
    std::string handle(Wlan::Handle h) const { return std::to_string(h); }

    FakeServices fake;
    FakeWlan wlan;
    WifiTestPanel panel;
    std::unique_ptr<WifiScan> scan;
};

void ClickLine(QListWidget* list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class WifiScanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void networkList_data() { AddNetworkListRows(); }
    void networkList()
    {
        QFETCH(QList<QByteArray>, ssids);
        QFETCH(QList<int>, strengths);
        ScanRig rig;
        rig.panel.fillConnectFields();
        rig.panel.widgets.cmdWiFiConnect->setEnabled(false); // as the window starts
        rig.panel.widgets.lstSSID->addItems({"from", "before"});
        rig.panel.widgets.lstSignal->addItems({"1%", "2%"});
        rig.setNetworks(ssids, strengths);
        rig.scan->Scan();
        VerifyNetworkListRow(rig.panel);
        const std::string h = rig.handle(0x5100);
        QCOMPARE(rig.wlan.calls, (std::vector<std::string>{"open", "register " + h, "interfaces " + h,
                                                           "networks " + h, "unregister " + h}));
        QCOMPARE(rig.panel.hWlanClient, Wlan::Handle{0x5100});
        QVERIFY(rig.fake.messages.shown.empty());
    }

    void readiness_data() { AddReadinessRows(); }
    void readiness()
    {
        QFETCH(bool, enabled);
        ScanRig rig;
        FillReadinessFields(rig.panel);
        rig.setNetworks({"TAVIK-MUREL"}, {90});
        rig.scan->Scan();
        QCOMPARE(rig.panel.widgets.cmdWiFiConnect->isEnabled(), enabled);
    }

    void failures_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("no WLAN service") << false << "Unable to get WLAN Handle"
                                         << QStringList{"open", "unregister 0"};
        QTest::newRow("no adapter") << true << "No Wireless Adapters Found"
                                    << QStringList{"open", "register 20736", "interfaces 20736", "unregister 20736"};
    }
    void failures()
    {
        QFETCH(bool, opens);
        QFETCH(QString, message);
        QFETCH(QStringList, calls);
        ScanRig rig;
        rig.panel.hWlanClient = 7;
        rig.wlan.opens = opens;
        rig.wlan.interfaces = 0;
        rig.panel.useCurrentSetupAp = true;
        // The message box is modal: the end of notifications and the hint come after it.
        QStringList whileBoxOpen;
        rig.fake.messages.whileOpen = [&](const std::string&) {
            whileBoxOpen << QString::number(rig.wlan.calls.size()) << rig.panel.widgets.labProgress->text();
        };
        rig.scan->Scan();
        QCOMPARE(rig.fake.messages.shown, std::vector<std::string>{message.toStdString()});
        QCOMPARE(whileBoxOpen, (QStringList{QString::number(calls.size() - 1), QString()}));
        QStringList made;
        for (const std::string& call : rig.wlan.calls)
            made << QString::fromStdString(call);
        QCOMPARE(made, calls);
        QCOMPARE(rig.panel.hWlanClient, opens ? Wlan::Handle{0x5100} : Wlan::Handle{0});
        QVERIFY(!rig.panel.widgets.fraVoorstel->isEnabled());
        QVERIFY(!rig.panel.useCurrentSetupAp);
        QVERIFY(rig.panel.widgets.labProgress->text().startsWith("No Tavik Murel access point found."));
    }

    // The lists are emptied at once; the service is asked half a second later.
    void waitsBeforeAsking()
    {
        ScanRig rig;
        rig.panel.widgets.lstSSID->addItem("old");
        rig.panel.widgets.labProgress->setText("old hint");
        QStringList duringWait;
        rig.fake.time.schedule(0.25, [&] {
            duringWait << QString::number(rig.panel.widgets.lstSSID->count()) << rig.panel.widgets.labProgress->text()
                       << QString::number(rig.wlan.calls.size());
        });
        double askedAt = -1;
        rig.wlan.whileListing = [&] { askedAt = rig.fake.time.elapsed(); };
        rig.scan->Scan();
        QCOMPARE(duringWait, (QStringList{"0", "", "0"}));
        QCOMPARE(askedAt, 0.5);
    }

    // A second click while the first scan waits would list every network twice.
    void secondClickDuringTheWaitIsIgnored()
    {
        ScanRig rig;
        rig.setNetworks({"Home"}, {50});
        rig.fake.time.schedule(0.2, [&] { rig.scan->Scan(); });
        rig.scan->Scan();
        QCOMPARE(rig.panel.widgets.lstSSID->count(), 1);
        QCOMPARE(std::count(rig.wlan.calls.begin(), rig.wlan.calls.end(), "open"), 1);
        rig.scan->Scan(); // a later click scans again
        QCOMPARE(std::count(rig.wlan.calls.begin(), rig.wlan.calls.end(), "open"), 2);
    }

    void pick_data()
    {
        QTest::addColumn<bool>("inSignalList");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("ssid");
        QTest::addColumn<bool>("message");
        QTest::newRow("network name") << false << 0 << "Home" << false;
        QTest::newRow("by its signal line") << true << 0 << "Home" << false;
        QTest::newRow("old setup access point like any other") << false << 1 << "TAVIK MUREL" << false;
        QTest::newRow("current setup access point") << false << 2 << "" << true;
        QTest::newRow("current setup access point by its signal line") << true << 2 << "" << true;
        QTest::newRow("name beginning with the setup name") << false << 3 << "" << true;
        QTest::newRow("32 characters at most") << false << 4 << "abcdefghijklmnopqrstuvwxyz012345" << false;
    }
    void pick()
    {
        QFETCH(bool, inSignalList);
        QFETCH(int, row);
        QFETCH(QString, ssid);
        QFETCH(bool, message);
        ScanRig rig;
        rig.setNetworks({"Home", "TAVIK MUREL", "TAVIK-MUREL", "TAVIK-MURELX",
                         "abcdefghijklmnopqrstuvwxyz0123456789"},
                        {1, 2, 3, 4, 5});
        rig.scan->Scan();
        rig.panel.window.resize(600, 600);
        rig.panel.widgets.lstSSID->setGeometry(0, 0, 300, 300);
        rig.panel.widgets.lstSignal->setGeometry(300, 0, 100, 300);
        rig.panel.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel.window));

        ClickLine(inSignalList ? rig.panel.widgets.lstSignal : rig.panel.widgets.lstSSID, row);
        QCOMPARE(rig.panel.widgets.lstSSID->currentRow(), row);
        QCOMPARE(rig.panel.widgets.lstSignal->currentRow(), row);
        QCOMPARE(rig.panel.widgets.txtSSID->text(), ssid);
        QCOMPARE(rig.fake.messages.shown, message ? std::vector<std::string>{kTemporary} : std::vector<std::string>{});
    }

    // Tabbing into a list makes a line current without picking it.
    void focusAlonePicksNothing()
    {
        ScanRig rig;
        rig.setNetworks({"Home"}, {1});
        rig.scan->Scan();
        rig.panel.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.panel.window));
        rig.panel.window.activateWindow();
        rig.panel.widgets.lstSSID->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(rig.panel.widgets.lstSSID->currentRow(), 0);
        QCOMPARE(rig.panel.widgets.txtSSID->text(), QString());
    }

    void txtSsidChangeAppliesTheRule()
    {
        ScanRig rig;
        rig.panel.fillConnectFields();
        QVERIFY(rig.panel.widgets.cmdWiFiConnect->isEnabled());
        rig.panel.widgets.txtSSID->clear();
        QVERIFY(!rig.panel.widgets.cmdWiFiConnect->isEnabled());
        QTest::keyClicks(rig.panel.widgets.txtSSID, "x");
        QVERIFY(rig.panel.widgets.cmdWiFiConnect->isEnabled());
    }
};

HOPTRACE_TEST(WifiScanTest)
#include "WifiScanTest.moc"
