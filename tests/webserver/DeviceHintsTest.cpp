#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "common/FormState.h"
#include "webserver/DeviceFacts.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

namespace {
// NIC #1 lan1 (interface 2) and NIC #2 lan2 (interface 3).
const std::vector<NicRecord> kNics{{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2},
                                   {"lan2", "172.16.5.10", "255.255.0.0", "", 3}};
} // namespace

class DeviceHintsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hintText_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("interfaceIndex");
        QTest::addColumn<QStringList>("others"); // "mac address" pairs heard in the same search
        QTest::addColumn<QString>("hint");
        QTest::newRow("on the network of NIC #1")
            << "192.168.1.20" << 2 << QStringList{} << "Found on NIC #1 (192.168.1.10/24)";
        QTest::newRow("on the network of NIC #2")
            << "172.16.9.20" << 3 << QStringList{} << "Found on NIC #2 (172.16.5.10/16)";
        QTest::newRow("off the network of the adapter that heard it")
            << "10.1.2.3" << 2 << QStringList{}
            << "Found on NIC #1 (192.168.1.10/24)\n10.1.2.3 is not on the network of NIC #1: Reboot may not reach it; "
               "Set IP can move it.";
        QTest::newRow("an address of NIC #2's network heard on NIC #1")
            << "172.16.5.20" << 2 << QStringList{}
            << "Found on NIC #1 (192.168.1.10/24)\n172.16.5.20 is not on the network of NIC #1: Reboot may not reach "
               "it; Set IP can move it.";
        QTest::newRow("same address as a device on the other adapter")
            << "192.168.1.20" << 2 << QStringList{"00:08:DC:00:00:09 192.168.1.20", "00:08:DC:00:00:0A 192.168.1.21"}
            << "Found on NIC #1 (192.168.1.10/24)\n192.168.1.20 is also the address of 00:08:DC:00:00:09: two devices "
               "answer on it.";
        QTest::newRow("three devices on one address, adapter unknown")
            << "192.168.1.20" << -1 << QStringList{"00:08:DC:00:00:09 192.168.1.20", "00:08:DC:00:00:0A 192.168.1.20"}
            << "192.168.1.20 is also the address of 00:08:DC:00:00:09, 00:08:DC:00:00:0A: several devices answer on "
               "it.";
        QTest::newRow("no address is no duplicate and no mismatch")
            << "" << 2 << QStringList{"00:08:DC:00:00:09 "} << "Found on NIC #1 (192.168.1.10/24)";
    }
    void hintText()
    {
        QFETCH(QString, address);
        QFETCH(int, interfaceIndex);
        QFETCH(QStringList, others);
        QFETCH(QString, hint);
        const HeardDevice device{"00:08:DC:00:00:01", address.toStdString(), interfaceIndex};
        std::vector<HeardDevice> heard{device};
        for (const QString& other : others)
            heard.push_back({other.section(' ', 0, 0).toStdString(), other.section(' ', 1).toStdString(), 3});
        QCOMPARE(QString::fromStdString(DeviceHintText(device.address, FactsAbout(device, heard, kNics))), hint);
    }

    // The window tells it on the command buttons of the selected device, and only there.
    void selectedDeviceCarriesItsHint()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2},
                                   {"lan2", "172.16.5.10", "255.255.255.0", "", 3}};
        rig.load();
        ReplyFields second;
        second.mac = "00:08:DC:00:00:02";
        second.address = "10.1.2.3:80";
        rig.fakes.socket.deliver(TavikReply(), 0.2, "192.168.1.20", 2);
        rig.fakes.socket.deliver(TavikReply(second), 0.4, "10.1.2.3", 3);
        rig.finishSearch();
        const Controls& c = rig.c();
        QCOMPARE(c.cmdReboot->toolTip(), QString()); // two devices: nothing selected yet

        QPlainTextEdit* box = c.txtServers;
        QTextCursor cursor(box->document());
        cursor.setPosition(box->toPlainText().lastIndexOf(QLatin1String("Host Name")) + 3);
        WindowInput::ClickAt(*box->viewport(), box->cursorRect(cursor).center());
        const QString hint = "Found on NIC #2 (172.16.5.10/24)\n10.1.2.3 is not on the network of NIC #2: Reboot "
                             "may not reach it; Set IP can move it.";
        QCOMPARE(c.cmdReboot->text(), QString("Reboot 10.1.2.3")); // the captions stay as they are
        for (QPushButton* button : {c.cmdReboot, c.cmdDefault, c.cmdSetIP}) {
            QCOMPARE(button->toolTip(), hint);
            QCOMPARE(button->accessibleDescription(), hint);
        }
        // A new search drops the selection and its hint.
        rig.window->picRefresh_Click();
        rig.finishSearch();
        QCOMPARE(c.cmdReboot->toolTip(), QString());
    }
};

HOPTRACE_TEST(DeviceHintsTest)
#include "DeviceHintsTest.moc"
