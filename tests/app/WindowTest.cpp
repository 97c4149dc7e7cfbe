#include "TestMain.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeTempDir.h"
#include "fakes/FakeWlan.h"
#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"

#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

namespace {
// Whether the widget lies wholly inside the window's client area, and whether any of it does.
bool fullyInside(QWidget* widget, QWidget* window)
{
    const QRect r(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return window->rect().contains(r);
}
bool partlyInside(QWidget* widget, QWidget* window)
{
    const QRect r(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return window->rect().intersects(r);
}
QStringList tabCaptions(QTabBar* tabs)
{
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    return captions;
}

// Remembers which widget each mouse press reaches and swallows it there, so that a
// probing click triggers nothing.
class PressCatcher final : public QObject {
public:
    PressCatcher() { qApp->installEventFilter(this); }
    ~PressCatcher() override { qApp->removeEventFilter(this); }
    QWidget* reached = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
        if (!mouse || !watched->isWidgetType())
            return false; // the window's own event goes on to Qt's hit test
        if (event->type() == QEvent::MouseButtonPress)
            reached = static_cast<QWidget*>(watched);
        return true;
    }
};

// The controls a person can use: named, shown inside the window, enabled, taking input.
std::vector<QWidget*> usableControls(QWidget& window)
{
    std::vector<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool takesInput = w->focusPolicy() != Qt::NoFocus || qobject_cast<PictureButton*>(w);
        if (!w->objectName().isEmpty() && takesInput && w->isVisible() && w->isEnabled()
            && window.rect().contains(WindowInput::CentreInWindow(*w)))
            controls.push_back(w);
    }
    return controls;
}
} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpShowsTheMainAreaOnly()
    {
        WindowRig rig;
        rig.load();
        QWidget* w = rig.window.get();
        const Controls& c = rig.c();
        QCOMPARE(w->windowTitle(), QString("Tavik Hoptrace V2.0"));
        QCOMPARE(w->width(), 463); // 6945 twips
        for (QWidget* shown : {static_cast<QWidget*>(c.cmdSetIP), static_cast<QWidget*>(c.txtServers),
                               static_cast<QWidget*>(c.TabNIC), static_cast<QWidget*>(c.picRefresh)})
            QVERIFY2(fullyInside(shown, w), qPrintable(shown->objectName()));
        for (QWidget* outside :
             {static_cast<QWidget*>(c.Frame1), static_cast<QWidget*>(c.lstSSID), static_cast<QWidget*>(c.lstSignal),
              static_cast<QWidget*>(c.fraVoorstel), static_cast<QWidget*>(c.picRescan)})
            QVERIFY2(!partlyInside(outside, w), qPrintable(outside->objectName()));
        QVERIFY(c.cmdDefault->isHidden());
        QVERIFY(c.txtDNS->isHidden());
        QVERIFY(c.fraSetIP->isHidden());
        QVERIFY(c.fraVoorstel->isEnabledTo(w));
        QCOMPARE(c.txtPort->text(), QString("8080"));
        QCOMPARE(c.txtMurelPort->text(), QString("8082"));
        QCOMPARE(rig.fakes.socket.bindCalls, 1);
        rig.finishSearch();
        QVERIFY(c.cmdDefault->isHidden());
        QVERIFY(c.txtDNS->isHidden());
    }

    void adaptersBecomeTabs_data()
    {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("one adapter") << QStringList{"192.168.1.2"} << QStringList{"NIC #1"}
                                     << QStringList{"192.168.1.2"};
        QTest::newRow("adapter without address is left out")
            << QStringList{"192.168.1.2", "0.0.0.0", "10.0.0.2"} << QStringList{"NIC #1", "NIC #2"}
            << QStringList{"192.168.1.2", "10.0.0.2"};
        QTest::newRow("empty address text qualifies") << QStringList{""} << QStringList{"NIC #1"} << QStringList{""};
        QTest::newRow("thirteen adapters, all with a tab")
            << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3",  "10.0.0.4",  "10.0.0.5",  "10.0.0.6", "10.0.0.7",
                           "10.0.0.8", "10.0.0.9", "10.0.0.10", "10.0.0.11", "10.0.0.12", "10.0.0.13"}
            << QStringList{"NIC #1", "NIC #2", "NIC #3",  "NIC #4",  "NIC #5",  "NIC #6", "NIC #7",
                           "NIC #8", "NIC #9", "NIC #10", "NIC #11", "NIC #12", "NIC #13"}
            << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3",  "10.0.0.4",  "10.0.0.5",  "10.0.0.6", "10.0.0.7",
                           "10.0.0.8", "10.0.0.9", "10.0.0.10", "10.0.0.11", "10.0.0.12", "10.0.0.13"};
        QTest::newRow("no adapter with an address") << QStringList{"0.0.0.0"} << QStringList{} << QStringList{};
    }
    void adaptersBecomeTabs()
    {
        QFETCH(QStringList, addresses);
        QFETCH(QStringList, tabs);
        QFETCH(QStringList, stored);
        WindowRig rig;
        rig.fakes.adapters.list.clear();
        int index = 2;
        for (const QString& address : addresses)
            rig.fakes.adapters.list.push_back({"eth", address.toStdString(), "255.255.255.0", "", index++});
        rig.load();
        QCOMPARE(tabCaptions(rig.c().TabNIC), tabs);
        for (int i = 0; i < stored.size(); ++i)
            QCOMPARE(QString::fromStdString(rig.window->adapterTable().find(i + 1)->ip), stored[i]);
        // Without an adapter no search starts and the window is usable at once.
        QCOMPARE(rig.fakes.timer1->isEnabled(), !tabs.isEmpty());
        QCOMPARE(rig.window->isEnabled(), tabs.isEmpty());
        QCOMPARE(rig.c().cmdWiFiConnect->isEnabledTo(rig.window.get()), tabs.isEmpty());
    }

    void refreshGrowsAndShrinksTheTabStrip()
    {
        WindowRig rig;
        auto adapters = [](int n) {
            std::vector<AdapterInfo> list;
            for (int i = 1; i <= n; ++i)
                list.push_back({"eth", "10.0." + std::to_string(i) + ".2", "255.255.255.0", "", i + 1});
            return list;
        };
        rig.fakes.adapters.list = adapters(3);
        rig.load();
        rig.finishSearch();
        QCOMPARE(tabCaptions(rig.c().TabNIC), (QStringList{"NIC #1", "NIC #2", "NIC #3"}));
        rig.fakes.adapters.list = adapters(2);
        WindowInput::Click(*rig.c().picRefresh);
        QCOMPARE(tabCaptions(rig.c().TabNIC), (QStringList{"NIC #1", "NIC #2"}));
        // Entries beyond the count keep what an earlier refresh stored.
        QCOMPARE(rig.window->adapterTable().find(3)->ip, std::string("10.0.3.2"));
    }

    void recordFieldsAreCutAndCleaned()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{std::string("Intel(R) Ethernet Connection I219-LM with a long name") + '\x01',
                                    std::string("192.168.\t1.2\0\0\0", 15), "255.255.255.0", "192.168.1.1", 2}};
        rig.load();
        const NicRecord& nic = *rig.window->adapterTable().find(1);
        QCOMPARE(nic.name, std::string("Intel(R) Ethernet Connection I219-LM with"));
        QCOMPARE(nic.ip, std::string("192.168.1.2"));
    }

    void failingAdapterListKeepsTabsAndSearchesNothing()
    {
        WindowRig rig;
        rig.load();
        rig.finishSearch();
        rig.fakes.adapters.fails = true;
        WindowInput::Click(*rig.c().picRefresh);
        QCOMPARE(tabCaptions(rig.c().TabNIC), QStringList{"NIC #1"});
        QVERIFY(!rig.fakes.timer1->isEnabled());
        QVERIFY(rig.window->isEnabled());
        QVERIFY(rig.c().picRefresh->isEnabled());
        QCOMPARE(rig.c().labStatus->text(), QString());
    }

    void portInUseLeavesAUsableWindow()
    {
        WindowRig rig;
        rig.fakes.socket.bindSucceeds = false;
        rig.load();
        QCOMPARE(rig.c().labStatus->text(),
                 QString("UDP port 8080 is in use by another program. Webservers cannot be searched."));
        QCOMPARE(rig.c().labStatus->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(rig.window->isEnabled());
        QVERIFY(!rig.fakes.timer1->isEnabled());
        QVERIFY(rig.c().cmdWiFiConnect->isEnabled()); // joining the gateway needs no search
        QCOMPARE(rig.c().txtIP->text(), QString("192.168.1.2"));
        // Once the port is free again, the next refresh searches.
        rig.fakes.socket.bindSucceeds = true;
        WindowInput::Click(*rig.c().picRefresh);
        QVERIFY(rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.c().labStatus->palette().color(QPalette::WindowText), QColor(Qt::black));
    }

    void everyUsableControlTakesAClickAtItsCentre_data()
    {
        QTest::addColumn<int>("servers");
        QTest::addColumn<int>("panel"); // 0 none, 1 IP setup with DHCP, 2 with Fix IP, 3 Wi-Fi
        QTest::newRow("after start-up") << 0 << 0;
        QTest::newRow("one server") << 1 << 0;
        QTest::newRow("two servers") << 2 << 0;
        QTest::newRow("IP setup, DHCP") << 1 << 1;
        QTest::newRow("IP setup, Fix IP") << 1 << 2;
        QTest::newRow("Wi-Fi panel") << 1 << 3;
    }
    void everyUsableControlTakesAClickAtItsCentre()
    {
        QFETCH(int, servers);
        QFETCH(int, panel);
        WindowRig rig;
        ReplyFields second;
        second.mac = "00:08:DC:00:00:02";
        const std::vector<std::string> replies{TavikReply(), TavikReply(second)};
        rig.listReplies({replies.begin(), replies.begin() + servers});
        const Controls& c = rig.c();
        if (panel == 1 || panel == 2) {
            WindowInput::Click(*c.cmdSetIP);
            WindowInput::Click(*c.optAutoIP[panel - 1]);
            QVERIFY(c.fraSetIP->isVisible());
        }
        if (panel == 3)
            rig.showWifiPanel();
        const std::vector<QWidget*> controls = usableControls(*rig.window);
        QVERIFY(controls.size() > 5);
        PressCatcher catcher;
        QStringList unreachable;
        for (QWidget* control : controls) {
            const auto inside = [control](QWidget* w) { return w && (w == control || control->isAncestorOf(w)); };
            catcher.reached = nullptr;
            WindowInput::Click(*control);
            if (!inside(rig.window->childAt(WindowInput::CentreInWindow(*control))) || !inside(catcher.reached))
                unreachable << control->objectName();
        }
        QVERIFY2(unreachable.isEmpty(), qPrintable("not reachable: " + unreachable.join(", ")));
    }

    void closingEndsWlanNotificationsOfTheLastScan_data()
    {
        QTest::addColumn<bool>("scanned");
        QTest::addColumn<QString>("lastCall");
        QTest::newRow("before any scan: handle 0") << false << "unregister 0";
        QTest::newRow("after a scan: its handle") << true << "unregister 20736";
    }
    void closingEndsWlanNotificationsOfTheLastScan()
    {
        QFETCH(bool, scanned);
        QFETCH(QString, lastCall);
        WindowRig rig;
        FakeWlan wlan;
        rig.fakes.wlanOverride = &wlan;
        rig.load();
        rig.finishSearch();
        if (scanned) {
            rig.showWifiPanel();
            WindowInput::Click(*rig.c().picRescan);
            rig.fakes.time.advance(1.0);
        }
        rig.window->close();
        QCOMPARE(QString::fromStdString(wlan.calls.back()), lastCall);
        QVERIFY(!rig.fakes.socket.isBound());
    }

    void closingDuringTheGatewaySequenceOrScanEndsIt_data()
    {
        QTest::addColumn<QString>("closeIn"); // "command 2", or "wait" (after command 1), or "scan"
        QTest::addColumn<int>("runs");
        QTest::newRow("while its second command runs") << "command 2" << 2;
        QTest::newRow("in the wait after its first command") << "wait" << 1;
        QTest::newRow("in the scan's half-second wait") << "scan" << 0;
    }
    void closingDuringTheGatewaySequenceOrScanEndsIt()
    {
        QFETCH(QString, closeIn);
        QFETCH(int, runs);
        WindowRig rig;
        FakeCommandRunner runner;
        FakeTempDir tempDir;
        FakeWlan wlan;
        wlan.networks = {{"TAVIK-MUREL", 80}};
        rig.fakes.commandsOverride = &runner;
        rig.fakes.tempDirOverride = &tempDir;
        rig.fakes.wlanOverride = &wlan;
        rig.fakes.echo.answers = [](const std::string&) { return true; };
        rig.load();
        rig.finishSearch();
        rig.showWifiPanel();
        double closedAt = 0;
        const auto close = [&] {
            closedAt = rig.fakes.time.elapsed();
            rig.window->close();
        };
        runner.whileRunning = [&](const FakeCommandRunner::Run&) {
            if (closeIn == "command 2" && runner.runs.size() == 2)
                close();
        };
        if (closeIn != "command 2")
            rig.fakes.time.schedule(0.2, close);
        WindowInput::Click(closeIn == "scan" ? static_cast<QWidget&>(*rig.c().picRescan) : *rig.c().cmdWiFiConnect);

        QVERIFY(closedAt > 0 && rig.fakes.time.elapsed() - closedAt < 1.0);
        QCOMPARE(static_cast<int>(runner.runs.size()), runs);
        QCOMPARE(runner.cancels, 1);
        QVERIFY(rig.fakes.urls.opened.empty());
        QCOMPARE(tempDir.removed, tempDir.created);
        QCOMPARE(rig.c().lstSSID->count(), 0);
    }

    void closingDuringASearchTickUnwindsCleanly()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        // The window closes while the first pass of a tick yields after its send.
        rig.fakes.socket.onSend = [&](const FakeUdpSocket::Sent&) {
            if (rig.fakes.socket.sent.size() == 1)
                rig.window->close();
        };
        rig.load();
        rig.fakes.time.advance(5.0);
        QCOMPARE(rig.fakes.socket.sent.size(), std::size_t(1));
        QVERIFY(!rig.fakes.socket.isBound());
        QVERIFY(!rig.fakes.timer1->isEnabled());
        QVERIFY(rig.window->isHidden());
    }
};

HOPTRACE_TEST(WindowTest)
#include "WindowTest.moc"
