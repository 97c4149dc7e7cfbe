#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"

#include "webserver/ServerList.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
// The four octet rows, "/" between boxes and "|" between rows.
QString rows(const Controls& c)
{
    QString joined;
    for (int box = 0; box < 16; ++box)
        joined += (box == 0 ? "" : box % 4 ? "/" : "|") + c.txtIPadres[box]->text();
    return joined;
}

std::string selectedIp(const WindowRig& rig) { return rig.window->state().selectedIp; }
} // namespace

class SelectionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aClickSelectsTheBlockBeforeTheCaret_data()
    {
        Columns<QString, int, QString>("where", "offset", "selected");
        QTest::newRow("first heading") << "Webserver 1 found:" << 3 << "192.168.1.21";
        QTest::newRow("inside the first block") << "00:08:DC:00:00:01" << 0 << "192.168.1.21";
        QTest::newRow("second heading selects the first") << "Webserver 2 found:" << 4 << "192.168.1.21";
        QTest::newRow("two characters into the second label") << "Host Name : second" << 2 << "10.1.2.3";
        QTest::newRow("end of the second block") << "Firmware : 1.07\r\n" << 17 << "10.1.2.3";
        QTest::newRow("very start of the list") << "\r\nWebserver 1" << 0 << "";
    }
    void aClickSelectsTheBlockBeforeTheCaret()
    {
        QFETCH(QString, where);
        QFETCH(int, offset);
        QFETCH(QString, selected);
        WindowRig rig;
        rig.fakes.adapters.list = {{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2},
                                   {"lan2", "172.16.5.10", "255.255.255.0", "", 3}};
        rig.load();
        rig.fakes.socket.deliver(TavikReply({.address = "192.168.1.21:80"}), 0.2, "192.168.1.21", 2);
        rig.fakes.socket.deliver(TavikReply({.host = "second", .mac = "00:08:DC:00:00:02", .address = "10.1.2.3:81"}),
                                 0.4, "10.1.2.3", 3);
        rig.finishSearch();
        const Controls& c = rig.c();
        QVERIFY(!c.cmdReboot->isEnabled() && c.cmdReboot->toolTip().isEmpty()); // nothing selected yet
        rig.clickServerListAt(rig.serverText().rfind(where.toStdString()) + offset);
        QCOMPARE(QString::fromStdString(selectedIp(rig)), selected);
        QCOMPARE(c.cmdReboot->isEnabled(), !selected.isEmpty());
        // Which adapter heard the device, and what that tells, on its buttons only; the captions stay.
        QString hint;
        if (selected.startsWith("192"))
            hint = "Found on NIC #1 (192.168.1.10/24)";
        else if (!selected.isEmpty())
            hint = "Found on NIC #2 (172.16.5.10/24)\n10.1.2.3 is not on the network of NIC #2: Reboot may not reach "
                   "it; Set IP can move it.";
        for (QPushButton* button : {c.cmdReboot, c.cmdDefault, c.cmdSetIP})
            QVERIFY(button->toolTip() == hint && button->accessibleDescription() == hint);
        if (!selected.isEmpty()) {
            QCOMPARE(c.cmdReboot->text(), "Reboot " + selected);
            // The list marks the selected reply's own lines, from its host name to its last line.
            const QString marked = c.txtServers->extraSelections().value(0).cursor.selectedText();
            QVERIFY2(marked.startsWith("Host Name") && marked.endsWith("Firmware : 1.07")
                         && marked.count("Host Name") == 1 && marked.contains(selected),
                     qPrintable(marked));
        }
        // A new search drops the selection and its description.
        WindowInput::Click(*c.picRefresh);
        rig.finishSearch();
        QVERIFY(c.cmdReboot->toolTip().isEmpty() && c.cmdSetIP->accessibleDescription().isEmpty());
    }

    void aBlockLackingLabelsTakesNothingFromTheNext()
    {
        WindowRig rig;
        rig.listReplies({"Host Name : a\r\nMAC Address : 00:08:DC:00:00:09\r\n", TavikReply()});
        rig.clickServerListAt(rig.serverText().find("00:08:DC:00:00:09"));
        QCOMPARE(rig.window->state().selectedMac, std::string("00:08:DC:00:00:09"));
        QVERIFY(selectedIp(rig).empty());
        QVERIFY(!rig.c().cmdReboot->isEnabled());
        QCOMPARE(rig.c().txtPort->text(), QString("8080"));
    }

    void aBlockFillsWhatItHas_data()
    {
        // filled: the selected address, whether Set IP is offered, the port box and the four octet rows
        Columns<QString, QString>("block", "filled");
        const QString head = "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\n",
                      dhcp = head + "IP Assignment : DHCP\r\n";
        const auto reply = [](std::string address, std::string mask, std::string mac = "00:08:DC:00:00:01") {
            return QString::fromStdString(
                TavikReply({.mac = mac, .assignment = "STATIC", .address = address, .mask = mask}));
        };
        const QString gwDns = "|192/168/1/1|192/168/1/1", none = "8080 ///|///|///|///";
        // The line break behind the last octet stays out of its box.
        QTest::newRow("whole") << reply("192.168.1.20:80", "255.255.255.0")
                               << "192.168.1.20 SetIP 80 192/168/1/20|255/255/255/0" + gwDns;
        QTest::newRow("00:0A device") << reply("10.0.0.1:80", "255.0.0.0", "00:0A:DC:00:00:01")
                                      << "10.0.0.1 - 80 10/0/0/1|255/0/0/0" + gwDns;
        QTest::newRow("no MAC label") << "Host Name : a\r\nIP Address : 1.2.3.4:80\r\n"
                                      << " - " + none;
        QTest::newRow("no assignment") << head << " SetIP " + none;
        QTest::newRow("no address") << dhcp << " SetIP " + none;
        QTest::newRow("no port or mask") << dhcp + "IP Address : 10.1.2.3:"
                                         << "10.1.2.3 SetIP 0 10/1/2/3|///|///|///";
        QTest::newRow("nothing behind DNS") << dhcp
                + "IP Address : 10.1.2.3:81\r\nSubNet Mask : 255.0.0.0\r\nGateway : 10.0.0.1\r\nDNS Server : 10.0.0.2"
                                            << "10.1.2.3 SetIP 81 10/1/2/3|255/0/0/0|10/0/0/1|///";
        QTest::newRow("five pieces") << dhcp + "IP Address : 10.1.2.3.4:82\r\nX : y"
                                     << "10.1.2.3.4 SetIP 82 10/1/2/3|///|///|///";
        QTest::newRow("label in other case") << dhcp + "IP Address : 10.1.2.3:83\r\nSubnet Mask : 255.0.0.0\r\nX : y"
                                             << "10.1.2.3 SetIP 83 10/1/2/3|///|///|///";
        // The box rules judge a reply's whole value, before a box's length limit cuts it.
        QTest::newRow("long octet and port")
            << reply("1000.2.3.4:123456", "255.255.255.0") << "1000.2.3.4 SetIP 8080 255/2/3/4|255/255/255/0" + gwDns;
        QTest::newRow("huge exponents") << reply("10.0.0.1:1e999", "2e22.1.1.1")
                                        << "10.0.0.1 SetIP 8080 10/0/0/1|255/1/1/1" + gwDns;
        QTest::newRow("port -infinity") << reply("10.0.0.1:-1e999", "255.0.0.0")
                                        << "10.0.0.1 SetIP 8080 10/0/0/1|255/0/0/0" + gwDns;
        QTest::newRow("exponent octet, long in-range octet")
            << reply("1e1.0100.3.1000:60000", "255.255.0.0100")
            << "1e1.0100.3.1000 SetIP 60000 1e1/100/3/|255/255/0/100" + gwDns;
    }
    void aBlockFillsWhatItHas()
    {
        QFETCH(QString, block);
        QFETCH(QString, filled);
        WindowRig rig;
        rig.listReplies({});
        // Put the block straight into the list, as a search would have.
        rig.window->serverList().setText("\r\nWebserver 1 found:\r\n\r\n" + block.toStdString());
        rig.clickServerListAt(rig.serverText().size());
        const Controls& c = rig.c();
        const QString ip = QString::fromStdString(selectedIp(rig));
        QCOMPARE(ip + (c.cmdSetIP->isEnabled() ? " SetIP " : " - ") + c.txtPort->text() + " " + rows(c), filled);
        QCOMPARE(c.cmdReboot->isEnabled(), !ip.isEmpty());
        QCOMPARE(c.cmdDefault->text(), ip.isEmpty() ? "Load defaults" : "Load defaults on " + ip);
        if (!ip.isEmpty())
            QCOMPARE(c.optAutoIP[0]->isChecked(), block.contains("IP Assignment : DHCP"));
    }
};

HOPTRACE_TEST(SelectionTest)
#include "SelectionTest.moc"
