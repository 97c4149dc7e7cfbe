#include "TestMain.h"

#include "fakes/WindowRig.h"

#include "webserver/ServerList.h"
#include "webserver/ServerSelection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
std::string rowOf(const Controls& c, int row)
{
    std::string joined;
    for (int i = 0; i < 4; ++i)
        joined += (i ? "/" : "") + c.txtIPadres[row * 4 + i]->text().toStdString();
    return joined;
}

} // namespace

class SelectionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aLoneServerFillsTheSetupPanel_data()
    {
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<bool>("setIpEnabled");
        QTest::addColumn<bool>("dhcpSelected");
        QTest::newRow("00:08 device by DHCP") << "00:08:DC:00:00:01"
                                              << "DHCP" << true << true;
        QTest::newRow("00:0A device with a fixed address") << "00:0A:DC:00:00:01"
                                                           << "STATIC" << false << false;
    }
    void aLoneServerFillsTheSetupPanel()
    {
        QFETCH(QString, mac);
        QFETCH(QString, assignment);
        QFETCH(bool, setIpEnabled);
        QFETCH(bool, dhcpSelected);
        WindowRig rig;
        ReplyFields f;
        f.mac = mac.toStdString();
        f.assignment = assignment.toStdString();
        rig.listReplies({TavikReply(f)});

        const Controls& c = rig.c();
        QCOMPARE(rig.window->state().selectedIp, std::string("192.168.1.20"));
        QCOMPARE(rig.window->state().selectedMac, mac.toStdString());
        QCOMPARE(c.txtPort->text(), QString("80"));
        QCOMPARE(c.optAutoIP[0]->isChecked(), dhcpSelected);
        QCOMPARE(c.optAutoIP[1]->isChecked(), !dhcpSelected);
        QCOMPARE(c.cmdReboot->text(), QString("Reboot 192.168.1.20"));
        QVERIFY(c.cmdReboot->isEnabled());
        QCOMPARE(c.cmdDefault->text(), QString("Load defaults on 192.168.1.20"));
        QVERIFY(!c.cmdDefault->isEnabled());
        QCOMPARE(c.cmdSetIP->isEnabled(), setIpEnabled);
        QCOMPARE(rowOf(c, 0), std::string("192/168/1/20"));
        // The line break behind the last octet does not end up in its box.
        QCOMPARE(rowOf(c, 1), std::string("255/255/255/0"));
        QCOMPARE(rowOf(c, 2), std::string("192/168/1/1"));
        QCOMPARE(rowOf(c, 3), std::string("192/168/1/1"));
        QCOMPARE(c.txtServers->extraSelections().size(), 1); // the list marks the selected block
    }

    void aClickSelectsTheBlockBeforeTheCaret_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("selected");
        QTest::newRow("first heading") << "Webserver 1 found:" << 3 << "192.168.1.21";
        QTest::newRow("inside the first block") << "00:08:DC:00:00:01" << 0 << "192.168.1.21";
        QTest::newRow("second heading selects the first") << "Webserver 2 found:" << 4 << "192.168.1.21";
        QTest::newRow("two characters into the second label") << "Host Name : second" << 2 << "192.168.1.22";
        QTest::newRow("end of the second block") << "Firmware" << 0 << "192.168.1.22";
    }
    void aClickSelectsTheBlockBeforeTheCaret()
    {
        QFETCH(QString, where);
        QFETCH(int, offset);
        QFETCH(QString, selected);
        WindowRig rig;
        ReplyFields first, second;
        first.address = "192.168.1.21:80";
        second.host = "second";
        second.mac = "00:08:DC:00:00:02";
        second.address = "192.168.1.22:8081";
        rig.listReplies({TavikReply(first), TavikReply(second)});
        QVERIFY(!rig.c().cmdReboot->isEnabled());

        std::size_t at = rig.serverText().rfind(where.toStdString());
        if (where == "Firmware")
            at = rig.serverText().size();
        rig.clickServerListAt(at + offset);
        QCOMPARE(QString::fromStdString(rig.window->state().selectedIp), selected);
        QCOMPARE(rig.c().cmdReboot->text(), "Reboot " + selected);
        QVERIFY(rig.c().cmdReboot->isEnabled());
        // The list marks the selected reply's own lines, from its host name to its last line.
        const QString marked = rig.c().txtServers->extraSelections().value(0).cursor.selectedText();
        QVERIFY2(marked.startsWith("Host Name") && marked.endsWith("Firmware : 1.07") && marked.count("Host Name") == 1
                     && marked.contains(selected),
                 qPrintable(marked));
    }

    void aBlockLackingLabelsTakesNothingFromTheNext()
    {
        WindowRig rig;
        rig.listReplies({"Host Name : a\r\nMAC Address : 00:08:DC:00:00:09\r\n", TavikReply()});
        rig.clickServerListAt(rig.serverText().find("00:08:DC:00:00:09"));
        QCOMPARE(rig.window->state().selectedMac, std::string("00:08:DC:00:00:09"));
        QVERIFY(rig.window->state().selectedIp.empty());
        QVERIFY(!rig.c().cmdReboot->isEnabled());
        QCOMPARE(rig.c().txtPort->text(), QString("8080"));
    }

    void clicksThatSelectNothing_data()
    {
        QTest::addColumn<bool>("anyServer");
        QTest::addColumn<int>("position");
        QTest::newRow("No find") << false << 3;
        QTest::newRow("very start of the list") << true << 0;
    }
    void clicksThatSelectNothing()
    {
        QFETCH(bool, anyServer);
        QFETCH(int, position);
        WindowRig rig;
        ReplyFields a, b;
        b.mac = "00:08:DC:00:00:02";
        rig.listReplies(anyServer ? std::vector<std::string>{TavikReply(a), TavikReply(b)}
                                  : std::vector<std::string>{});
        rig.clickServerListAt(position);
        QVERIFY(!rig.c().cmdReboot->isEnabled());
        QVERIFY(!rig.c().cmdDefault->isEnabled());
        QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot"));
        QVERIFY(rig.window->state().selectedIp.empty());
    }

    void blocksWithPartsMissing_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("selectedIp");
        QTest::addColumn<bool>("rebootEnabled");
        QTest::addColumn<bool>("setIpEnabled");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("rows"); // rows 0 to 3, "|" between rows
        const QString untouched = "///|///|///|///";
        QTest::newRow("no MAC label") << "Host Name : a\r\nIP Address : 1.2.3.4:80\r\n"
                                      << "" << false << false << "8080" << untouched;
        QTest::newRow("no assignment") << "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\n"
                                       << "" << false << true << "8080" << untouched;
        QTest::newRow("no address") << "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\nIP Assignment : DHCP\r\n"
                                    << "" << false << true << "8080" << untouched;
        QTest::newRow("address without port or mask")
            << "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\nIP Assignment : DHCP\r\nIP Address : 10.1.2.3:"
            << "10.1.2.3" << true << true << "0"
            << "10/1/2/3|///|///|///";
        QTest::newRow("nothing behind the DNS value")
            << "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\nIP Assignment : DHCP\r\nIP Address : "
               "10.1.2.3:81\r\nSubNet Mask : 255.0.0.0\r\nGateway : 10.0.0.1\r\nDNS Server : 10.0.0.2"
            << "10.1.2.3" << true << true << "81"
            << "10/1/2/3|255/0/0/0|10/0/0/1|///";
        QTest::newRow("address with five pieces")
            << "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\nIP Assignment : DHCP\r\nIP Address : "
               "10.1.2.3.4:82\r\nX : y"
            << "10.1.2.3.4" << true << true << "82"
            << "10/1/2/3|///|///|///";
        QTest::newRow("labels in other case are not found")
            << "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\nIP Assignment : DHCP\r\nIP Address : "
               "10.1.2.3:83\r\nSubnet Mask : 255.0.0.0\r\nGateway : 10.0.0.1\r\nDNS Server : 10.0.0.2\r\nX : y"
            << "10.1.2.3" << true << true << "83"
            << "10/1/2/3|///|///|///";
    }
    void blocksWithPartsMissing()
    {
        QFETCH(QString, block);
        QFETCH(QString, selectedIp);
        QFETCH(bool, rebootEnabled);
        QFETCH(bool, setIpEnabled);
        QFETCH(QString, port);
        QFETCH(QString, rows);
        WindowRig rig;
        rig.load();
        rig.finishSearch();
        // Put the block straight into the list, as a search would have.
        rig.window->serverList().setText("\r\nWebserver 1 found:\r\n\r\n" + block.toStdString());
        rig.clickServerListAt(rig.serverText().size());
        QCOMPARE(QString::fromStdString(rig.window->state().selectedIp), selectedIp);
        QCOMPARE(rig.c().cmdReboot->isEnabled(), rebootEnabled);
        QCOMPARE(rig.c().cmdSetIP->isEnabled(), setIpEnabled);
        QCOMPARE(rig.c().txtPort->text(), port);
        QString shown;
        for (int row = 0; row < 4; ++row)
            shown += QString::fromStdString(rowOf(rig.c(), row)) + (row < 3 ? "|" : "");
        QCOMPARE(shown, rows);
    }

    void valuesPassTheBoxRulesWhole_data()
    {
        // The box rules judge a reply's whole value, before a box's length limit cuts it.
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("rows"); // rows 0 and 1
        QTest::addColumn<QString>("port");
        QTest::newRow("long octet and port") << "1000.2.3.4:123456"
                                             << "255.255.255.0"
                                             << "255/2/3/4|255/255/255/0"
                                             << "8080";
        QTest::newRow("huge exponents") << "10.0.0.1:1e999"
                                        << "2e22.1.1.1"
                                        << "10/0/0/1|255/1/1/1"
                                        << "8080";
        QTest::newRow("negative infinite port") << "10.0.0.1:-1e999"
                                                << "255.0.0.0"
                                                << "10/0/0/1|255/0/0/0"
                                                << "8080";
        QTest::newRow("exponent octet, long in-range octet") << "1e1.0100.3.1000:60000"
                                                             << "255.255.0.0100"
                                                             << "1e1/100/3/|255/255/0/100"
                                                             << "60000";
    }
    void valuesPassTheBoxRulesWhole()
    {
        QFETCH(QString, address);
        QFETCH(QString, mask);
        QFETCH(QString, rows);
        QFETCH(QString, port);
        WindowRig rig;
        ReplyFields f;
        f.address = address.toStdString();
        f.mask = mask.toStdString();
        rig.listReplies({TavikReply(f)});
        QCOMPARE(QString::fromStdString(rowOf(rig.c(), 0) + "|" + rowOf(rig.c(), 1)), rows);
        QCOMPARE(rig.c().txtPort->text(), port);
    }
};

HOPTRACE_TEST(SelectionTest)
#include "SelectionTest.moc"
