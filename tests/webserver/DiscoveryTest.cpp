#include "TestMain.h"

#include "fakes/WindowInput.h"
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

QByteArray reply(const std::string& mac) { return QByteArray::fromStdString(TavikReply({.mac = mac})); }

std::string heading(int n) { return "\r\nWebserver " + std::to_string(n) + " found:\r\n\r\n"; }
} // namespace

class DiscoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyAdapterGetsTheRequestOnEveryTickWhileTheWindowIsBusy()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "192.168.1.1", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        rig.load();
        QVERIFY(!rig.window->isEnabled() && rig.c().Animation1->isVisible() && rig.c().Animation1->isPlaying());
        rig.fakes.time.advance(2.0);
        QCOMPARE(rig.c().labStatus->text(), QString("Searching.........")); // three dots per tick
        QCOMPARE(rig.sentCount(kList), 4);
        const auto& sent = rig.fakes.socket.sent;
        QCOMPARE(sent[0].interfaceIndex, 2);
        QCOMPARE(sent[1].interfaceIndex, 3);
        QVERIFY(sent[0].host == "255.255.255.255" && sent[0].port == 8080);
        // The port stays bound the whole time: nothing waiting in its buffer is thrown away.
        QCOMPARE(rig.fakes.socket.closeCalls, 1);
        QCOMPARE(rig.fakes.socket.bindCalls, 1);
        rig.finishSearch();
        QVERIFY(rig.window->isEnabled() && !rig.c().Animation1->isVisible() && !rig.c().Animation1->isPlaying());
        QVERIFY(!rig.fakes.timer1->isEnabled());
    }

    void searchOutcomes_data()
    {
        Columns<QByteArrayList, int, QString, bool>("datagrams", "listed", "rebootCaption", "rebootEnabled");
        const QByteArray a = reply("00:08:DC:00:00:01"), b = reply("00:08:DC:00:00:02");
        QTest::newRow("no webserver") << QByteArrayList{} << 0 << "Reboot" << false;
        QTest::newRow("one is selected at once") << QByteArrayList{a} << 1 << "Reboot 192.168.1.20" << true;
        QTest::newRow("two wait for a click") << QByteArrayList{a, b} << 2 << "Reboot" << false;
        QTest::newRow("one answering every request") << QByteArrayList{a, a, a} << 1 << "Reboot 192.168.1.20" << true;
        QTest::newRow("our own request") << QByteArrayList{"TAVIKwebserver|List|"} << 0 << "Reboot" << false;
        QTest::newRow("another program's text") << QByteArrayList{"hello on port 8080"} << 0 << "Reboot" << false;
        QTest::newRow("label in other case")
            << QByteArrayList{"Mac Address : 00:08:DC:00:00:01"} << 0 << "Reboot" << false;
        QTest::newRow("MAC label at the very end")
            << QByteArrayList{"Host Name : x\r\nMAC Address"} << 0 << "Reboot" << false;
        QTest::newRow("request with the label")
            << QByteArrayList{"TAVIKwebserver|MAC Address : 1"} << 0 << "Reboot" << false;
    }
    void searchOutcomes()
    {
        QFETCH(QByteArrayList, datagrams);
        QFETCH(int, listed);
        QFETCH(QString, rebootCaption);
        QFETCH(bool, rebootEnabled);
        WindowRig rig;
        rig.load();
        double at = 0.3;
        for (const QByteArray& datagram : datagrams)
            rig.fakes.socket.deliver(datagram.toStdString(), at += 0.5);
        rig.finishSearch();

        std::string expected = listed ? "" : "No find";
        for (int n = 0; n < listed; ++n)
            expected += heading(n + 1) + datagrams[n].toStdString();
        QCOMPARE(rig.serverText(), expected);
        QCOMPARE(rig.window->search().count(), listed);
        QCOMPARE(rig.c().labStatus->text(), listed ? "Please select webserver to reboot or to set IP." : "");
        QCOMPARE(rig.c().cmdReboot->text(), rebootCaption);
        QCOMPARE(rig.c().cmdReboot->isEnabled(), rebootEnabled);
        QVERIFY(rig.window->isEnabled() && rig.c().picRefresh->isEnabled());
        QVERIFY(rig.c().fraMurel->isEnabled() && rig.c().cmdWiFiConnect->isEnabled());
    }

    void aSearchStartedBeforeMidnightEndsAfterIt()
    {
        WindowRig rig(86399.0); // 23:59:59
        rig.load();
        rig.fakes.time.advance(1.05); // first tick: 00:00:00
        QVERIFY(!rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.serverText(), std::string("No find"));
        QVERIFY(rig.window->isEnabled());
    }

    void lateRepliesAreListedButNotSelected_data()
    {
        Columns<bool>("firstInTime");
        QTest::newRow("after No find") << false;
        QTest::newRow("after a lone server") << true;
    }
    void lateRepliesAreListedButNotSelected()
    {
        QFETCH(bool, firstInTime);
        WindowRig rig;
        rig.load();
        if (firstInTime)
            rig.fakes.socket.deliver(reply("00:08:DC:00:00:01").toStdString(), 0.5);
        rig.finishSearch();
        QCOMPARE(rig.c().cmdReboot->isEnabled(), firstInTime);
        if (!firstInTime)
            rig.fakes.socket.deliver(reply("00:08:DC:00:00:01").toStdString(), 0.5);
        rig.fakes.socket.deliver(reply("00:08:DC:00:00:02").toStdString(), 1.0);
        rig.fakes.time.advance(2.0);
        QCOMPARE(rig.serverText(), heading(1) + TavikReply() + heading(2) + reply("00:08:DC:00:00:02").toStdString());
        QVERIFY(!rig.c().cmdReboot->isEnabled());
        QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot"));
    }

    void aBurstWaitingAtOnceIsReadWhole()
    {
        // Every waiting datagram is read, also one equal to the one before it, and a
        // thousand replies each cost only their own length to append.
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
        const std::string big = std::string(40000, 'x') + TavikReply({.mac = "00:08:DC:01:00:00"})
            + std::string(20000, 'y');
        burst.push_back(big);
        rig.fakes.socket.deliverBurst(burst, 0.5);
        rig.finishSearch();
        QCOMPARE(rig.window->search().count(), 1001);
        const std::string& text = rig.serverText();
        QVERIFY(text.find("Webserver 98 found:") != std::string::npos);
        QVERIFY(text.find("Webserver 99 found:") == std::string::npos);
        QVERIFY(text.find("00:08:DC:00:03:E7") != std::string::npos);
        QVERIFY(text.ends_with("\r\n\r\n" + big)); // a 60 kB reply is listed whole
    }

    void aStreamThatNeverPausesLetsTheSearchEnd()
    {
        // Copies of one reply keep arriving faster than they are read: the reading must
        // give the event loop back, or the search tick would never come.
        WindowRig rig;
        rig.load();
        int left = 1'000'000;
        rig.fakes.socket.stream = [&]() -> std::optional<std::string> {
            if (left == 0)
                return std::nullopt;
            --left;
            return TavikReply();
        };
        rig.fakes.socket.deliver(reply("00:08:DC:00:00:02").toStdString(), 0.5);
        rig.finishSearch();
        QVERIFY(left > 0);
        QCOMPARE(rig.window->search().count(), 2);
        QCOMPARE(rig.c().labStatus->text(), QString("Please select webserver to reboot or to set IP."));
    }

    void deviceBytesShowInTheCodePageOfThePc()
    {
        WindowRig rig;
        rig.listReplies({TavikReply({.host = "Hall\x80\x93", .mac = "00:08:DC:00:00:9\x99"})});
        QVERIFY(rig.c().txtServers->toPlainText().contains(QString::fromUtf8("Hall\u20ac\u201c")));
        WindowInput::Click(*rig.c().cmdSetIP);
        QCOMPARE(rig.c().fraSetIP->title(), QString::fromUtf8("Set IP on 00:08:DC:00:00:9\u2122"));
    }

    void aRefusedSendShowsOneBoxAndTheSearchStillEnds()
    {
        WindowRig rig;
        rig.fakes.socket.sendSucceeds = false;
        // The user leaves the box open for five seconds.
        rig.fakes.messages.whileOpen = [&](const std::string&) { rig.fakes.time.advance(5.0); };
        rig.load();
        rig.finishSearch();
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{"Network error!"});
        QVERIFY(!rig.fakes.timer1->isEnabled());
        QVERIFY(rig.window->isEnabled());
    }

    void anAdapterRefusingSendsDoesNotSilenceTheOthers()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"down", "10.9.0.2", "255.255.0.0", "", 2},
                                   {"eth1", "192.168.1.2", "255.255.255.0", "", 3}};
        rig.fakes.socket.refusingInterface = 2;
        rig.listReplies({TavikReply()});
        QCOMPARE(rig.sentCount(kList), 3);
        WindowInput::Click(*rig.c().cmdSetIP);
        WindowInput::Click(*rig.c().cmdIPOK);
        QCOMPARE(rig.sentCount(std::string("TAVIKwebserver|SetDHCP|\x00\x00\x01\x00\x50|", 29)), 3);
        QVERIFY(rig.fakes.messages.shown.empty());
    }
};

HOPTRACE_TEST(DiscoveryTest)
#include "DiscoveryTest.moc"
