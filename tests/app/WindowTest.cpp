#include "TestMain.h"

#include "fakes/FakeCommandRunner.h"
#include "fakes/FakeTempDir.h"
#include "fakes/FakeWlan.h"
#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

namespace {
QRect InWindow(QWidget* widget) { return {widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()}; }

QStringList TabCaptions(QTabBar* tabs)
{
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    return captions;
}

// "NIC #1" ... or "10.0.1.2" ... for n adapters.
QStringList Numbered(const QString& pattern, int n)
{
    QStringList list;
    for (int i = 1; i <= n; ++i)
        list << pattern.arg(i);
    return list;
}

void SetAdapters(WindowRig& rig, const QStringList& addresses)
{
    rig.fakes.adapters.list.clear();
    for (const QString& address : addresses)
        rig.fakes.adapters.list.push_back(
            {"eth", address.toStdString(), "255.255.255.0", "", int(rig.fakes.adapters.list.size()) + 2});
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
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
            return false;
        if (!watched->isWidgetType())
            return false; // the window's own event goes on to Qt's hit test
        if (event->type() == QEvent::MouseButtonPress)
            reached = static_cast<QWidget*>(watched);
        return true;
    }
};
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
        for (QWidget* shown : std::initializer_list<QWidget*>{c.cmdSetIP, c.txtServers, c.TabNIC, c.picRefresh})
            QVERIFY2(w->rect().contains(InWindow(shown)), qPrintable(shown->objectName()));
        for (QWidget* beyond :
             std::initializer_list<QWidget*>{c.Frame1, c.lstSSID, c.lstSignal, c.fraVoorstel, c.picRescan})
            QVERIFY2(!w->rect().intersects(InWindow(beyond)), qPrintable(beyond->objectName()));
        QVERIFY(c.fraVoorstel->isEnabledTo(w));
        QCOMPARE(c.txtPort->text() + c.txtMurelPort->text(), QString("80808082"));
        QCOMPARE(rig.fakes.socket.bindCalls, 1);
        for (int pass = 0; pass < 2; ++pass, rig.finishSearch())
            QVERIFY(c.cmdDefault->isHidden() && c.txtDNS->isHidden() && c.fraSetIP->isHidden());
    }

    // After start with `addresses`, then after a refresh with `refreshed` ("fails": the list fails).
    void adaptersBecomeTabs_data()
    {
        Columns<QStringList, QStringList, QStringList>("addresses", "tabs", "refreshed");
        QTest::newRow("adapter without address is left out")
            << QStringList{"192.168.1.2", "0.0.0.0", "10.0.0.2"} << QStringList{"NIC #1", "NIC #2"} << QStringList{};
        QTest::newRow("empty address text qualifies") << QStringList{""} << QStringList{"NIC #1"} << QStringList{};
        QTest::newRow("thirteen adapters, all with a tab")
            << Numbered("10.0.%1.2", 13) << Numbered("NIC #%1", 13) << QStringList{};
        QTest::newRow("no adapter with an address") << QStringList{"0.0.0.0"} << QStringList{} << QStringList{};
        QTest::newRow("refresh shrinks the strip")
            << Numbered("10.0.%1.2", 3) << Numbered("NIC #%1", 3) << Numbered("10.0.%1.2", 2);
        QTest::newRow("a failing list keeps the tabs")
            << Numbered("10.0.%1.2", 2) << Numbered("NIC #%1", 2) << QStringList{"fails"};
    }
    void adaptersBecomeTabs()
    {
        QFETCH(QStringList, addresses);
        QFETCH(QStringList, tabs);
        QFETCH(QStringList, refreshed);
        WindowRig rig;
        SetAdapters(rig, addresses);
        rig.load();
        const Controls& c = rig.c();
        QCOMPARE(TabCaptions(c.TabNIC), tabs);
        const QStringList stored = addresses.filter(QRegularExpression("^(?!0\\.0\\.0\\.0$)"));
        for (int i = 0; i < stored.size(); ++i)
            QCOMPARE(QString::fromStdString(rig.window->adapterTable().find(i + 1)->ip), stored[i]);
        // Without an adapter no search starts and the window is usable at once.
        QCOMPARE(rig.fakes.timer1->isEnabled(), !tabs.isEmpty());
        QCOMPARE(rig.window->isEnabled(), tabs.isEmpty());
        QCOMPARE(c.cmdWiFiConnect->isEnabledTo(rig.window.get()), tabs.isEmpty());
        if (refreshed.isEmpty())
            return;
        rig.finishSearch();
        rig.fakes.adapters.fails = refreshed == QStringList{"fails"};
        if (!rig.fakes.adapters.fails)
            SetAdapters(rig, refreshed);
        WindowInput::Click(*c.picRefresh);
        QCOMPARE(TabCaptions(c.TabNIC), rig.fakes.adapters.fails ? tabs : Numbered("NIC #%1", refreshed.size()));
        QCOMPARE(rig.fakes.timer1->isEnabled(), !rig.fakes.adapters.fails);
        if (rig.fakes.adapters.fails)
            QCOMPARE(c.labStatus->text(), QString());
        // Entries beyond the count keep what an earlier refresh stored.
        if (addresses.size() > 2)
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

    void portInUseLeavesAUsableWindow()
    {
        WindowRig rig;
        rig.fakes.socket.bindSucceeds = false;
        rig.load();
        const Controls& c = rig.c();
        QCOMPARE(c.labStatus->text(),
                 QString("UDP port 8080 is in use by another program. Webservers cannot be searched."));
        QCOMPARE(c.labStatus->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(rig.window->isEnabled() && !rig.fakes.timer1->isEnabled());
        QVERIFY(c.cmdWiFiConnect->isEnabled()); // joining the gateway needs no search
        QCOMPARE(c.txtIP->text(), QString("192.168.1.2"));
        // Once the port is free again, the next refresh searches.
        rig.fakes.socket.bindSucceeds = true;
        WindowInput::Click(*c.picRefresh);
        QVERIFY(rig.fakes.timer1->isEnabled());
        QCOMPARE(c.labStatus->palette().color(QPalette::WindowText), QColor(Qt::black));
    }

    void everyUsableControlTakesAClickAtItsCentre_data()
    {
        Columns<int, int>("servers", "panel"); // panel: 0 none, 1 IP setup with DHCP, 2 with Fix IP, 3 Wi-Fi
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
        const std::vector<std::string> replies{TavikReply(), TavikReply({.mac = "00:08:DC:00:00:02"})};
        rig.listReplies({replies.begin(), replies.begin() + servers});
        const Controls& c = rig.c();
        if (panel == 1 || panel == 2) {
            WindowInput::Click(*c.cmdSetIP);
            WindowInput::Click(*c.optAutoIP[panel - 1]);
            QVERIFY(c.fraSetIP->isVisible());
        }
        if (panel == 3)
            rig.showWifiPanel();
        QWidget& w = *rig.window;
        PressCatcher catcher;
        QStringList reached, unreachable;
        for (QWidget* control : w.findChildren<QWidget*>()) {
            const bool takesInput = control->focusPolicy() != Qt::NoFocus || qobject_cast<PictureButton*>(control);
            const QPoint centre = WindowInput::CentreInWindow(*control);
            if (control->objectName().isEmpty() || !takesInput || !control->isVisible() || !control->isEnabled()
                || !w.rect().contains(centre))
                continue;
            const auto inside = [control](QWidget* at) { return at && (at == control || control->isAncestorOf(at)); };
            catcher.reached = nullptr;
            WindowInput::Click(*control);
            (inside(w.childAt(centre)) && inside(catcher.reached) ? reached : unreachable) << control->objectName();
        }
        QVERIFY(reached.size() > 5);
        QVERIFY2(unreachable.isEmpty(), qPrintable("not reachable: " + unreachable.join(", ")));
    }

    // The window closes at one moment of each kind of wait; whatever ran then ends within a
    // second and leaves nothing open: no socket, no timer, no WLAN notification, no temp folder.
    void closingEndsWhatRuns_data()
    {
        Columns<QString, int, QString>("closeIn", "runs", "lastWlanCall");
        QTest::newRow("a search tick, after its first send") << "tick" << 0 << "unregister 0";
        QTest::newRow("the gateway's second command") << "command 2" << 2 << "unregister 0";
        QTest::newRow("the wait after the gateway's first command") << "wait" << 1 << "unregister 0";
        QTest::newRow("the scan's half-second wait") << "scan" << 0 << "";
        QTest::newRow("after a scan: its handle") << "scanned" << 0 << "unregister 20736";
    }
    void closingEndsWhatRuns()
    {
        QFETCH(QString, closeIn);
        QFETCH(int, runs);
        QFETCH(QString, lastWlanCall);
        WindowRig rig;
        FakeCommandRunner runner;
        FakeTempDir tempDir;
        FakeWlan wlan;
        wlan.networks = {{"TAVIK-MUREL", 80}};
        rig.fakes.commandsOverride = &runner;
        rig.fakes.tempDirOverride = &tempDir;
        rig.fakes.wlanOverride = &wlan;
        rig.fakes.echo.answers = [](const std::string&) { return true; };
        SetAdapters(rig, {"192.168.1.2", "10.0.0.2"});
        double closedAt = -1;
        const auto close = [&] {
            closedAt = rig.fakes.time.elapsed();
            rig.window->close();
        };
        rig.fakes.socket.onSend = [&](const FakeUdpSocket::Sent&) {
            if (closeIn == "tick" && rig.fakes.socket.sent.size() == 1)
                close();
        };
        runner.whileRunning = [&](const FakeCommandRunner::Run&) {
            if (closeIn == "command 2" && runner.runs.size() == 2)
                close();
        };
        rig.load();
        rig.finishSearch();
        if (closeIn != "tick") {
            rig.showWifiPanel();
            if (closeIn == "wait" || closeIn == "scan")
                rig.fakes.time.schedule(0.2, close);
            const bool scan = closeIn == "scan" || closeIn == "scanned";
            WindowInput::Click(scan ? static_cast<QWidget&>(*rig.c().picRescan) : *rig.c().cmdWiFiConnect);
            if (closeIn == "scanned") {
                rig.fakes.time.advance(1.0);
                close();
            }
        }
        QVERIFY(closedAt >= 0 && (closeIn == "tick" || rig.fakes.time.elapsed() - closedAt < 1.0));
        QVERIFY(rig.window->isHidden() && !rig.fakes.socket.isBound() && !rig.fakes.timer1->isEnabled());
        if (closeIn == "tick")
            QCOMPARE(rig.fakes.socket.sent.size(), std::size_t(1));
        QCOMPARE(int(runner.runs.size()), runs);
        QCOMPARE(runner.cancels, 1);
        QVERIFY(rig.fakes.urls.opened.empty());
        QCOMPARE(tempDir.removed, tempDir.created);
        if (!lastWlanCall.isEmpty())
            QCOMPARE(QString::fromStdString(wlan.calls.back()), lastWlanCall);
        QCOMPARE(rig.c().lstSSID->count(), closeIn == "scanned" ? 1 : 0);
    }
};

HOPTRACE_TEST(WindowTest)
#include "WindowTest.moc"
