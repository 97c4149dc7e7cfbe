#include "TestMain.h"

#include "fakes/WindowRig.h"

#include "controls/BusyAnimation.h"
#include "controls/PictureButton.h"
#include "webserver/Search.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const std::string kList = "TAVIKwebserver|List|";

std::string reply(const std::string& mac) { return TavikReply({.mac = mac}); }

std::string heading(int n) { return "\r\nWebserver " + std::to_string(n) + " found:\r\n\r\n"; }
} // namespace

class DiscoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchOutcomes_data()
    {
        // late: how many of the datagrams come after the search has ended
        Columns<QByteArrayList, int, int, double>("datagrams", "late", "listed", "startAt");
        const QByteArray a(reply("00:08:DC:00:00:01").c_str()), b(reply("00:08:DC:00:00:02").c_str());
        QTest::newRow("no webserver") << QByteArrayList{} << 0 << 0 << 36000.0;
        QTest::newRow("one is selected at once") << QByteArrayList{a} << 0 << 1 << 36000.0;
        QTest::newRow("two wait for a click") << QByteArrayList{a, b} << 0 << 2 << 36000.0;
        QTest::newRow("one answering every request") << QByteArrayList{a, a, a} << 0 << 1 << 36000.0;
        QTest::newRow("late after No find: listed, not selected") << QByteArrayList{a} << 1 << 1 << 36000.0;
        QTest::newRow("late after a lone one: neither selected") << QByteArrayList{a, b} << 1 << 2 << 36000.0;
        QTest::newRow("started at 23:59:59, ends after midnight") << QByteArrayList{} << 0 << 0 << 86399.0;
        QTest::newRow("our own request") << QByteArrayList{"TAVIKwebserver|List|"} << 0 << 0 << 36000.0;
        QTest::newRow("another program's text") << QByteArrayList{"hello on port 8080"} << 0 << 0 << 36000.0;
        QTest::newRow("label in other case") << QByteArrayList{"Mac Address : 00:08:DC:00:00:01"} << 0 << 0 << 36000.0;
        QTest::newRow("MAC label at the end") << QByteArrayList{"Host Name : x\r\nMAC Address"} << 0 << 0 << 36000.0;
        QTest::newRow("request with the label")
            << QByteArrayList{"TAVIKwebserver|MAC Address : 1"} << 0 << 0 << 36000.0;
    }
    void searchOutcomes()
    {
        QFETCH(QByteArrayList, datagrams);
        QFETCH(int, late);
        QFETCH(int, listed);
        QFETCH(double, startAt);
        WindowRig rig(startAt);
        rig.load();
        for (int n = 0; n < datagrams.size(); ++n) {
            if (n == datagrams.size() - late)
                rig.finishSearch();
            rig.fakes.socket.deliver(datagrams[n].toStdString(), 0.8 + 0.5 * n, "192.168.1.20", 2);
        }
        rig.finishSearch();
        std::string expected = listed ? "" : "No find";
        for (int n = 0; n < listed; ++n)
            expected += heading(n + 1) + datagrams[n].toStdString();
        QCOMPARE(rig.serverText(), expected);
        const int inTime = listed - late;
        QCOMPARE(rig.c().labStatus->text(), inTime ? "Please select webserver to reboot or to set IP." : "");
        QCOMPARE(rig.c().cmdReboot->text(), inTime == 1 && !late ? "Reboot 192.168.1.20" : "Reboot");
        QCOMPARE(rig.c().cmdReboot->isEnabled(), inTime == 1 && !late);
        // A lone device is described on its buttons when the search ends; a late one drops that.
        QCOMPARE(rig.c().cmdReboot->toolTip(), inTime == 1 && !late ? "Found on NIC #1 (192.168.1.2/24)" : "");
        QCOMPARE(rig.c().txtServers->extraSelections().size(), inTime == 1 ? 1 : 0); // the lone block is marked
        QVERIFY(rig.window->isEnabled() && rig.c().picRefresh->isEnabled() && !rig.fakes.timer1->isEnabled());
        QVERIFY(rig.c().fraMurel->isEnabled() && rig.c().cmdWiFiConnect->isEnabled());
    }

    void aBurstIsReadWholeAndAStreamLetsTheSearchEnd()
    {
        // Every waiting datagram is read, also one equal to the one before it, and a thousand
        // replies each cost only their own length to append. Then copies of one reply keep
        // arriving faster than they are read: the reading must give the event loop back, or
        // the search's ticks would never come.
        WindowRig rig;
        rig.load();
        std::vector<std::string> burst;
        for (int i = 0; i < 1000; ++i) {
            char mac[18];
            std::snprintf(mac, sizeof mac, "00:08:DC:00:%02X:%02X", i / 256, i % 256);
            burst.push_back(TavikReply({.mac = mac}));
            if (i == 10)
                burst.push_back(burst.back()); // a device answering two requests
        }
        const std::string big = std::string(40000, 'x') + reply("00:08:DC:01:00:00") + std::string(20000, 'y');
        burst.push_back(big);
        rig.fakes.socket.deliverBurst(burst, 0.5);
        int left = 1'000'000;
        rig.fakes.socket.stream = [&]() { return left-- > 0 ? std::optional(burst[5]) : std::nullopt; };
        rig.finishSearch();
        QVERIFY(left > 0 && !rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.window->search().count(), 1001);
        const std::string& text = rig.serverText();
        QVERIFY(text.find("Webserver 98 found:") != std::string::npos);
        QVERIFY(text.find("Webserver 99 found:") == std::string::npos);
        QVERIFY(text.find("00:08:DC:00:03:E7") != std::string::npos);
        QVERIFY(text.ends_with("\r\n\r\n" + big)); // a 60 kB reply is listed whole
    }

    void everyAdapterGetsTheRequestOnEveryTick_data()
    {
        Columns<int, int, int>("refusingInterface", "sent", "boxes"); // -1: every adapter refuses
        QTest::newRow("two adapters, three ticks") << -2 << 6 << 0;
        QTest::newRow("one adapter down does not silence the other") << 2 << 3 << 0;
        QTest::newRow("every adapter refuses: one box, and the search still ends") << -1 << 0 << 1;
    }
    void everyAdapterGetsTheRequestOnEveryTick()
    {
        QFETCH(int, refusingInterface);
        QFETCH(int, sent);
        QFETCH(int, boxes);
        WindowRig rig;
        rig.fakes.adapters.list = {{"down", "10.9.0.2", "255.255.0.0", "", 2},
                                   {"eth1", "192.168.1.2", "255.255.255.0", "", 3}};
        rig.fakes.socket.sendSucceeds = refusingInterface != -1;
        rig.fakes.socket.refusingInterface = refusingInterface;
        // The user leaves the box open for five seconds.
        rig.fakes.messages.whileOpen = [&](const std::string&) { rig.fakes.time.advance(5.0); };
        rig.load();
        QVERIFY(!rig.window->isEnabled() && rig.c().Animation1->isVisible() && rig.c().Animation1->isPlaying());
        if (!boxes) {
            rig.fakes.time.advance(2.0);
            QCOMPARE(rig.c().labStatus->text(), QString("Searching.........")); // three dots per tick
        }
        rig.finishSearch();
        QCOMPARE(rig.sentCount(kList), sent);
        for (const auto& request : rig.fakes.socket.sent)
            QVERIFY(request.host == "255.255.255.255" && request.port == 8080 && request.interfaceIndex >= 2);
        QCOMPARE(int(rig.fakes.messages.shown.size()), boxes);
        QVERIFY(rig.window->isEnabled() && !rig.c().Animation1->isVisible() && !rig.fakes.timer1->isEnabled());
        // The port stays bound the whole time: nothing waiting in its buffer is thrown away.
        QVERIFY(rig.fakes.socket.closeCalls == 1 && rig.fakes.socket.bindCalls == 1);
    }
};

HOPTRACE_TEST(DiscoveryTest)
#include "DiscoveryTest.moc"
