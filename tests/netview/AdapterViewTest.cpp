#include "TestMain.h"

#include "NetviewPanel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {

const QString kFramePrefix = QStringLiteral("Suggested for MUREL/Server on NIC#");

QStringList Suggestion(const NetviewPanel& panel)
{
    QStringList boxes;
    for (const QLineEdit* box : panel.view.txtVoorstel)
        boxes << box->text();
    return boxes;
}

} // namespace

class AdapterViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsAdapterAndSuggestion_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("gateway");
        QTest::addColumn<QStringList>("suggestion");
        QTest::addColumn<bool>("pingEnabled");
        QTest::newRow("home router network")
            << "192.168.178.20" << "255.255.255.0" << "192.168.178.1"
            << QStringList{"192.168.178.125", "255.255.255.0", "192.168.178.1", "192.168.178.1"} << true;
        QTest::newRow("class A mask is copied, not applied")
            << "10.20.30.40" << "255.0.0.0" << "10.0.0.1"
            << QStringList{"10.20.30.125", "255.0.0.0", "10.0.0.1", "10.0.0.1"} << true;
        QTest::newRow("no gateway") << "192.168.1.34" << "255.255.255.0" << ""
                                    << QStringList{"192.168.1.125", "255.255.255.0", "", ""} << true;
        QTest::newRow("no address") << "" << "" << "" << QStringList{"125", "", "", ""} << false;
    }
    void showsAdapterAndSuggestion()
    {
        QFETCH(QString, ip);
        QFETCH(QString, mask);
        QFETCH(QString, gateway);
        QFETCH(QStringList, suggestion);
        QFETCH(bool, pingEnabled);
        NetviewPanel panel;
        panel.view.labProgress->setText(QStringLiteral("Scanning..."));
        panel.ping.cmdPing->setEnabled(!pingEnabled);

        panel.addAdapter("Realtek PCIe GbE", ip.toStdString(), mask.toStdString(), gateway.toStdString());

        QCOMPARE(panel.view.labNICName->text(), QStringLiteral("Realtek PCIe GbE"));
        QCOMPARE(panel.view.txtIP->text(), ip);
        QCOMPARE(panel.view.txtSubnet->text(), mask);
        QCOMPARE(panel.view.txtGateway->text(), gateway);
        QCOMPARE(panel.view.fraVoorstel->title(), kFramePrefix + "1");
        QCOMPARE(Suggestion(panel), suggestion);
        QCOMPARE(panel.view.txtIPtoPing->text(), suggestion[0]);
        QCOMPARE(panel.ping.cmdPing->isEnabled(), pingEnabled);
        QCOMPARE(panel.view.labProgress->text(), QString());
    }

    void selectingTabShowsItsAdapter_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("mouse") << "mouse";
        QTest::newRow("arrow key") << "key";
        QTest::newRow("program") << "program";
    }
    void selectingTabShowsItsAdapter()
    {
        QFETCH(QString, how);
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.178.20", "255.255.255.0", "192.168.178.1");
        panel.addAdapter("Wireless <5 GHz>", "10.20.30.40", "255.0.0.0", "10.0.0.1");
        QCOMPARE(panel.view.txtIP->text(), QStringLiteral("192.168.178.20")); // tab 1 stays selected
        panel.view.labProgress->setText(QStringLiteral("Connected"));

        if (how == "mouse")
            panel.clickTab(2);
        else if (how == "key")
            QTest::keyClick(panel.view.TabNIC, Qt::Key_Right);
        else
            panel.view.TabNIC->setCurrentIndex(1);

        QCOMPARE(panel.view.TabNIC->currentIndex(), 1);
        QCOMPARE(panel.view.labNICName->text(), QStringLiteral("Wireless <5 GHz>"));
        QCOMPARE(panel.view.txtIP->text(), QStringLiteral("10.20.30.40"));
        QCOMPARE(panel.view.txtSubnet->text(), QStringLiteral("255.0.0.0"));
        QCOMPARE(panel.view.txtGateway->text(), QStringLiteral("10.0.0.1"));
        QCOMPARE(panel.view.fraVoorstel->title(), kFramePrefix + "2");
        QCOMPARE(Suggestion(panel), (QStringList{"10.20.30.125", "255.0.0.0", "10.0.0.1", "10.0.0.1"}));
        QCOMPARE(panel.view.txtIPtoPing->text(), QStringLiteral("10.20.30.125"));
        QCOMPARE(panel.view.labProgress->text(), QString());
    }

    void typedAddressFollowsUntilTabSelected_data()
    {
        QTest::addColumn<int>("tabClicked");
        QTest::newRow("same tab clicked again") << 1;
        QTest::newRow("other tab, then back") << 2;
    }
    void typedAddressFollowsUntilTabSelected()
    {
        QFETCH(int, tabClicked);
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        panel.addAdapter("Wireless", "10.0.0.5", "255.255.255.0", "10.0.0.1");
        QLineEdit* address = panel.view.txtVoorstel[0];

        address->selectAll();
        QTest::keyClicks(address, QStringLiteral("192.168.1.200"));
        QCOMPARE(panel.view.txtIPtoPing->text(), QStringLiteral("192.168.1.200"));

        panel.clickTab(tabClicked);
        if (tabClicked != 1)
            panel.clickTab(1);

        QCOMPARE(address->text(), QStringLiteral("192.168.1.125"));
        QCOMPARE(panel.view.txtIPtoPing->text(), QStringLiteral("192.168.1.125"));
    }

    void tabClickRestoresEditedPingBox()
    {
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        panel.view.txtIPtoPing->setText(QStringLiteral("192.168.1.1"));

        panel.clickTab(1);

        QCOMPARE(panel.view.txtIPtoPing->text(), QStringLiteral("192.168.1.125"));
    }

    void tabWithoutTableEntryShowsNothing()
    {
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        panel.view.TabNIC->addTab(QStringLiteral("NIC #7"));

        panel.clickTab(2);

        QCOMPARE(panel.view.labNICName->text(), QString());
        QCOMPARE(panel.view.txtIP->text(), QString());
        QCOMPARE(panel.view.txtGateway->text(), QString());
        QCOMPARE(panel.view.fraVoorstel->title(), kFramePrefix + "7");
        QCOMPARE(Suggestion(panel), (QStringList{"125", "", "", ""}));
    }

    void removingSelectedTabShowsTheNewSelection()
    {
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        panel.addAdapter("Wireless", "10.0.0.5", "255.255.255.0", "10.0.0.1");
        panel.clickTab(2);

        panel.view.TabNIC->removeTab(1);

        QCOMPARE(panel.view.txtIP->text(), QStringLiteral("192.168.1.34"));
        QCOMPARE(panel.view.fraVoorstel->title(), kFramePrefix + "1");
    }

    void removingEveryTabKeepsThePanel()
    {
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        panel.view.labProgress->setText(QStringLiteral("Connected"));

        panel.view.TabNIC->removeTab(0);

        QCOMPARE(panel.view.txtIP->text(), QStringLiteral("192.168.1.34"));
        QCOMPARE(panel.view.txtVoorstel[0]->text(), QStringLiteral("192.168.1.125"));
        QCOMPARE(panel.view.labProgress->text(), QStringLiteral("Connected"));
    }

    void portChangeAppliesConnectRule_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("emptyBox"); // -1: none, 0..3: txtVoorstel(i), 4: txtSSID
        QTest::addColumn<bool>("enabled");
        QTest::newRow("8082") << "8082" << -1 << true;
        QTest::newRow("1") << "1" << -1 << true;
        QTest::newRow("65535") << "65535" << -1 << true;
        QTest::newRow("trailing text ignored") << "8082x" << -1 << true;
        QTest::newRow("0") << "0" << -1 << false;
        QTest::newRow("empty") << "" << -1 << false;
        QTest::newRow("65536") << "65536" << -1 << false;
        QTest::newRow("no number") << "abc" << -1 << false;
        QTest::newRow("negative") << "-1" << -1 << false;
        QTest::newRow("no SSID") << "8082" << 4 << false;
        QTest::newRow("no address") << "8082" << 0 << false;
        QTest::newRow("no mask") << "8082" << 1 << false;
        QTest::newRow("no gateway") << "8082" << 2 << false;
        QTest::newRow("DNS plays no part") << "8082" << 3 << true;
    }
    void portChangeAppliesConnectRule()
    {
        QFETCH(QString, port);
        QFETCH(int, emptyBox);
        QFETCH(bool, enabled);
        NetviewPanel panel;
        panel.view.txtSSID->setText(QStringLiteral("TAVIK-MUREL"));
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        if (emptyBox == 4)
            panel.view.txtSSID->clear();
        else if (emptyBox >= 0)
            panel.view.txtVoorstel[static_cast<std::size_t>(emptyBox)]->clear();
        panel.view.txtMurelPort->setText(QStringLiteral("-"));
        panel.view.cmdWiFiConnect->setEnabled(!enabled);

        panel.view.txtMurelPort->setText(port);

        QCOMPARE(panel.view.cmdWiFiConnect->isEnabled(), enabled);
    }

    void newSuggestionLeavesConnectButtonAlone()
    {
        NetviewPanel panel;
        panel.view.txtSSID->setText(QStringLiteral("TAVIK-MUREL"));
        panel.view.cmdWiFiConnect->setEnabled(false);

        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");

        QVERIFY(!panel.view.cmdWiFiConnect->isEnabled());
    }
};

HOPTRACE_TEST(AdapterViewTest)
#include "AdapterViewTest.moc"
