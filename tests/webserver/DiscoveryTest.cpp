#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "webserver/Search.h"

#include "controls/BusyAnimation.h"
#include "controls/PictureButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {
const std::string kList = "TAVIKwebserver|List|";

std::string reply(const std::string& mac, const std::string& address = "192.168.1.20:80")
{
    ReplyFields f;
    f.mac = mac;
    f.address = address;
    return TavikReply(f);
}
} // namespace

class DiscoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyAdapterGetsTheRequestOnEveryTick()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "192.168.1.1", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        rig.load();
        rig.fakes.time.advance(1.0);
        QCOMPARE(rig.sentCount(kList), 2);
        QCOMPARE(rig.fakes.socket.sent[0].interfaceIndex, 2);
        QCOMPARE(rig.fakes.socket.sent[1].interfaceIndex, 3);
        QCOMPARE(rig.fakes.socket.sent[0].host, std::string("255.255.255.255"));
        QCOMPARE(rig.fakes.socket.sent[0].port, std::uint16_t(8080));
        rig.fakes.time.advance(1.0);
        QCOMPARE(rig.sentCount(kList), 4);
        // The port stays bound the whole time: nothing waiting in its buffer is thrown away.
        QCOMPARE(rig.fakes.socket.closeCalls, 1);
        QCOMPARE(rig.fakes.socket.bindCalls, 1);
    }

    void busyWhileSearching()
    {
        WindowRig rig;
        rig.load();
        QVERIFY(!rig.window->isEnabled());
        QVERIFY(rig.c().Animation1->isVisible() && rig.c().Animation1->isPlaying());
        QCOMPARE(rig.c().labStatus->text(), QString("Searching..."));
        rig.fakes.time.advance(2.0);
        QCOMPARE(rig.c().labStatus->text(), QString("Searching.........")); // three dots per tick
        rig.finishSearch();
        QVERIFY(rig.window->isEnabled());
        QVERIFY(!rig.c().Animation1->isVisible());
        QVERIFY(!rig.c().Animation1->isPlaying());
        QVERIFY(!rig.fakes.timer1->isEnabled());
    }

    void searchOutcomes_data()
    {
        QTest::addColumn<QStringList>("macs");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("rebootCaption");
        QTest::addColumn<bool>("rebootEnabled");
        QTest::newRow("no webserver") << QStringList{} << ""
                                      << "Reboot" << false;
        QTest::newRow("one webserver is selected at once")
            << QStringList{"00:08:DC:00:00:01"} << "Please select webserver to reboot or to set IP."
            << "Reboot 192.168.1.20" << true;
        QTest::newRow("two webservers wait for a click") << QStringList{"00:08:DC:00:00:01", "00:08:DC:00:00:02"}
                                                         << "Please select webserver to reboot or to set IP."
                                                         << "Reboot" << false;
        QTest::newRow("one webserver answering every request")
            << QStringList{"00:08:DC:00:00:01", "00:08:DC:00:00:01", "00:08:DC:00:00:01"}
            << "Please select webserver to reboot or to set IP."
            << "Reboot 192.168.1.20" << true;
    }
    void searchOutcomes()
    {
        QFETCH(QStringList, macs);
        QFETCH(QString, status);
        QFETCH(QString, rebootCaption);
        QFETCH(bool, rebootEnabled);
        WindowRig rig;
        rig.load();
        double at = 0.3;
        for (const QString& mac : macs)
            rig.fakes.socket.deliver(reply(mac.toStdString()), at += 0.5);
        rig.finishSearch();

        QCOMPARE(rig.c().labStatus->text(), status);
        QCOMPARE(rig.c().cmdReboot->text(), rebootCaption);
        QCOMPARE(rig.c().cmdReboot->isEnabled(), rebootEnabled);
        QVERIFY(rig.c().picRefresh->isEnabled());
        QVERIFY(rig.c().fraMurel->isEnabled());
        QVERIFY(rig.c().cmdWiFiConnect->isEnabled());
        QVERIFY(rig.window->isEnabled());
        if (macs.isEmpty()) {
            QCOMPARE(rig.serverText(), std::string("No find"));
            return;
        }
        std::string expected;
        int n = 0;
        for (const QString& mac : macs) {
            if (expected.find(mac.toStdString()) != std::string::npos)
                continue;
            expected += "\r\nWebserver " + std::to_string(++n) + " found:\r\n\r\n" + reply(mac.toStdString());
        }
        QCOMPARE(rig.serverText(), expected);
        QCOMPARE(rig.window->search().count(), n);
    }

    void datagramsThatAreNotListed_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::newRow("our own request") << QByteArray("TAVIKwebserver|List|");
        QTest::newRow("another program's text") << QByteArray("hello on port 8080");
        QTest::newRow("label in other case") << QByteArray("Mac Address : 00:08:DC:00:00:01");
        QTest::newRow("MAC label at the very end") << QByteArray("Host Name : x\r\nMAC Address");
        QTest::newRow("request that carries the label") << QByteArray("TAVIKwebserver|MAC Address : 1");
    }
    void datagramsThatAreNotListed()
    {
        QFETCH(QByteArray, datagram);
        WindowRig rig;
        rig.load();
        rig.fakes.socket.deliver(datagram.toStdString(), 0.5);
        rig.finishSearch();
        QCOMPARE(rig.serverText(), std::string("No find"));
        QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot"));
        QCOMPARE(rig.c().cmdDefault->text(), QString("Load defaults"));
        QVERIFY(!rig.c().cmdReboot->isEnabled());
    }

    void ownBroadcastsComeBackAndAreIgnored()
    {
        WindowRig rig;
        rig.fakes.socket.loopBroadcasts = true;
        rig.load();
        rig.finishSearch();
        QCOMPARE(rig.serverText(), std::string("No find"));
    }

    void searchStartedBeforeMidnightEndsAfterIt()
    {
        WindowRig rig(86399.0); // 23:59:59
        rig.load();
        rig.fakes.time.advance(1.05); // first tick: 00:00:00
        QVERIFY(!rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.serverText(), std::string("No find"));
        QVERIFY(rig.window->isEnabled());
    }

    void lateReplyAfterNoFindIsListedButNotSelected()
    {
        WindowRig rig;
        rig.load();
        rig.finishSearch();
        rig.fakes.socket.deliver(reply("00:08:DC:00:00:07"), 1.0);
        rig.fakes.time.advance(2.0);
        QCOMPARE(rig.serverText(), "\r\nWebserver 1 found:\r\n\r\n" + reply("00:08:DC:00:00:07"));
        QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot"));
        QVERIFY(!rig.c().cmdReboot->isEnabled());
        QCOMPARE(rig.c().labStatus->text(), QString());
    }

    void lateSecondReplyDisablesTheSelection()
    {
        WindowRig rig;
        rig.load();
        rig.fakes.socket.deliver(reply("00:08:DC:00:00:01"), 0.5);
        rig.finishSearch();
        QVERIFY(rig.c().cmdReboot->isEnabled());
        rig.fakes.socket.deliver(reply("00:08:DC:00:00:02"), 0.5);
        rig.fakes.time.advance(1.0);
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
            burst.push_back(reply(mac));
            if (i == 10)
                burst.push_back(reply(mac)); // a device answering two requests
        }
        rig.fakes.socket.deliverBurst(burst, 0.5);
        rig.finishSearch();
        QCOMPARE(rig.window->search().count(), 1000);
        const std::string& text = rig.serverText();
        QVERIFY(text.find("Webserver 98 found:") != std::string::npos);
        QVERIFY(text.find("Webserver 99 found:") == std::string::npos);
        QVERIFY(text.find("00:08:DC:00:03:E7") != std::string::npos);
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
            return reply("00:08:DC:00:00:01");
        };
        rig.fakes.socket.deliver(reply("00:08:DC:00:00:02"), 0.5);
        rig.finishSearch();
        QVERIFY(left > 0);
        QCOMPARE(rig.window->search().count(), 2);
        QCOMPARE(rig.c().labStatus->text(), QString("Please select webserver to reboot or to set IP."));
    }

    void aLargeReplyIsListedWhole()
    {
        WindowRig rig;
        rig.load();
        const std::string big = std::string(40000, 'x') + reply("00:08:DC:00:00:09") + std::string(20000, 'y');
        rig.fakes.socket.deliver(big, 0.5);
        rig.finishSearch();
        QCOMPARE(rig.serverText(), "\r\nWebserver 1 found:\r\n\r\n" + big);
    }

    void deviceBytesShowInTheCodePageOfThePc()
    {
        WindowRig rig;
        ReplyFields f;
        f.host = "Hall\x80\x93";
        f.mac = "00:08:DC:00:00:9\x99";
        rig.listReplies({TavikReply(f)});
        QVERIFY(rig.serverText().find("Hall\x80\x93") != std::string::npos);
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
        QCOMPARE(rig.serverText(), std::string("No find"));
        QVERIFY(rig.window->isEnabled());
    }

    void anAdapterRefusingSendsDoesNotSilenceTheOthers()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"down", "10.9.0.2", "255.255.0.0", "", 2},
                                   {"eth1", "192.168.1.2", "255.255.255.0", "", 3}};
        rig.fakes.socket.refusingInterface = 2;
        rig.listReplies({reply("00:08:DC:00:00:01")});
        QCOMPARE(rig.sentCount(kList), 3);
        WindowInput::Click(*rig.c().cmdSetIP);
        WindowInput::Click(*rig.c().cmdIPOK);
        int setups = 0;
        for (const auto& sent : rig.fakes.socket.sent)
            setups += sent.bytes.starts_with("TAVIKwebserver|SetDHCP|");
        QCOMPARE(setups, 3);
        QVERIFY(rig.fakes.messages.shown.empty());
    }
};

HOPTRACE_TEST(DiscoveryTest)
#include "DiscoveryTest.moc"
