#include "ScanCases.h"

#include "WifiTestPanel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const QString kFoundHint = QStringLiteral("Please enter SSID or click on list and enter key.");
const QString kNotFoundHint = QStringLiteral(
    "No Tavik Murel access point found. Reboot Murel, wait until the led lights up, then press and hold "
    "button until led stops blinking. Then retry...\"");
const QString kCurrentCaption = QStringLiteral("Connect to TAVIK-MUREL and set SSID, key, IP, ...");
const QString kOldCaption = QStringLiteral("Connect to TAVIK MUREL and set SSID, key, IP, ...");
const QString kStartCaption = QStringLiteral("Connect to TAVIK-MUREL and open Portal in web browser");

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QByteArray Bytes(const char* bytes, int size) { return QByteArray(bytes, size); }

} // namespace

void AddNetworkListRows()
{
    QTest::addColumn<QList<QByteArray>>("ssids");
    QTest::addColumn<QList<int>>("strengths");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("signalLines");
    QTest::addColumn<QString>("setupAp"); // "", "current" or "old"

    QTest::newRow("nothing in range") << QList<QByteArray>{} << QList<int>{} << QStringList{} << QStringList{}
                                      << "";
    QTest::newRow("hidden and NUL-leading names are skipped")
        << QList<QByteArray>{"", Bytes("\0TAVIK-MUREL", 12), "Home"} << QList<int>{40, 50, 60}
        << QStringList{"Home"} << QStringList{"60%"} << "";
    QTest::newRow("a NUL ends the name") << QList<QByteArray>{Bytes("Cafe\0junk", 9)} << QList<int>{57}
                                         << QStringList{"Cafe"} << QStringList{"57%"} << "";
    QTest::newRow("bytes from 0x80 one character each, no UTF-8")
        << QList<QByteArray>{"\x80\xE9t\xC3\xA9\x9F"} << QList<int>{33}
        << QStringList{QString::fromUtf8("\xE2\x82\xAC\xC3\xA9t\xC3\x83\xC2\xA9\xC5\xB8")} << QStringList{"33%"}
        << "";
    QTest::newRow("0 % and 100 %") << QList<QByteArray>{"Weak", "Strong"} << QList<int>{0, 100}
                                   << QStringList{"Weak", "Strong"} << QStringList{"0%", "100%"} << "";
    QTest::newRow("one network reported twice") << QList<QByteArray>{"Home", "Home"} << QList<int>{70, 70}
                                                << QStringList{"Home", "Home"} << QStringList{"70%", "70%"}
                                                << "";
    QTest::newRow("current setup access point")
        << QList<QByteArray>{"Home", "TAVIK-MUREL"} << QList<int>{70, 82} << QStringList{"Home", "TAVIK-MUREL"}
        << QStringList{"70%", "82%"} << "current";
    QTest::newRow("old setup access point") << QList<QByteArray>{"TAVIK MUREL"} << QList<int>{82}
                                            << QStringList{"TAVIK MUREL"} << QStringList{"82%"} << "old";
    QTest::newRow("both, the old one later decides")
        << QList<QByteArray>{"TAVIK-MUREL", "TAVIK MUREL"} << QList<int>{80, 81}
        << QStringList{"TAVIK-MUREL", "TAVIK MUREL"} << QStringList{"80%", "81%"} << "old";
    QTest::newRow("both, the current one later decides")
        << QList<QByteArray>{"TAVIK MUREL", "TAVIK-MUREL"} << QList<int>{80, 81}
        << QStringList{"TAVIK MUREL", "TAVIK-MUREL"} << QStringList{"80%", "81%"} << "current";
    QTest::newRow("near misses are no setup access point")
        << QList<QByteArray>{"tavik-murel", "TAVIK-MUREL2", "TAVIK MUREL "} << QList<int>{1, 2, 3}
        << QStringList{"tavik-murel", "TAVIK-MUREL2", "TAVIK MUREL "} << QStringList{"1%", "2%", "3%"} << "";
}

void VerifyNetworkListRow(const WifiTestPanel& panel)
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, signalLines);
    QFETCH(QString, setupAp);
    const WifiWidgets& w = panel.widgets;
    QCOMPARE(Lines(w.lstSSID), lines);
    QCOMPARE(Lines(w.lstSignal), signalLines);
    QCOMPARE(w.lstSSID->currentRow(), -1);
    QVERIFY(w.lstSSID->selectedItems().isEmpty());
    QCOMPARE(panel.useCurrentSetupAp, setupAp == "current");
    QCOMPARE(panel.useOldSetupAp, setupAp == "old");
    QCOMPARE(w.labProgress->text(), setupAp.isEmpty() ? kNotFoundHint : kFoundHint);
    // Without a setup access point the caption and the button stay as they were.
    const QString caption = setupAp == "current" ? kCurrentCaption : setupAp == "old" ? kOldCaption : kStartCaption;
    QCOMPARE(w.cmdWiFiConnect->text(), caption);
    QCOMPARE(w.cmdWiFiConnect->isEnabled(), !setupAp.isEmpty());
    QVERIFY(w.fraVoorstel->isEnabled());
}

void AddReadinessRows()
{
    QTest::addColumn<QString>("ssid");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("dns");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all filled, port 8082") << "Home" << "192.168.1.125" << "8.8.4.4" << "secret" << "8082" << true;
    QTest::newRow("empty key and DNS do not matter") << "Home" << "192.168.1.125" << "" << "" << "8082" << true;
    QTest::newRow("port 65535") << "Home" << "192.168.1.125" << "" << "" << "65535" << true;
    QTest::newRow("port 0") << "Home" << "192.168.1.125" << "" << "" << "0" << false;
    QTest::newRow("port 65536") << "Home" << "192.168.1.125" << "" << "" << "65536" << false;
    QTest::newRow("empty port") << "Home" << "192.168.1.125" << "" << "" << "" << false;
    QTest::newRow("empty SSID") << "" << "192.168.1.125" << "" << "" << "8082" << false;
    QTest::newRow("empty address") << "Home" << "" << "" << "" << "8082" << false;
}

void FillReadinessFields(WifiTestPanel& panel)
{
    QFETCH(QString, ssid);
    QFETCH(QString, ip);
    QFETCH(QString, dns);
    QFETCH(QString, key);
    QFETCH(QString, port);
    WifiWidgets& w = panel.widgets;
    w.txtSSID->setText(ssid);
    w.txtVoorstel[0]->setText(ip);
    w.txtVoorstel[1]->setText(QStringLiteral("255.255.255.0"));
    w.txtVoorstel[2]->setText(QStringLiteral("192.168.1.1"));
    w.txtVoorstel[3]->setText(dns);
    w.txtKey->setText(key);
    w.txtMurelPort->setText(port);
    w.cmdWiFiConnect->setEnabled(!panel.widgets.cmdWiFiConnect->isEnabled()); // the scan must decide
}
