#include "TestMain.h"

#include "fakes/FakeWlan.h"
#include "fakes/WindowRig.h"

#include "app/PictureButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
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
        for (QWidget* outside : {static_cast<QWidget*>(c.Frame1), static_cast<QWidget*>(c.lstSSID),
                                 static_cast<QWidget*>(c.lstSignal), static_cast<QWidget*>(c.fraVoorstel),
                                 static_cast<QWidget*>(c.picRescan)})
            QVERIFY2(!partlyInside(outside, w), qPrintable(outside->objectName()));
        QVERIFY(c.cmdDefault->isHidden());
        QVERIFY(c.txtDNS->isHidden());
        QVERIFY(c.fraSetIP->isHidden());
        QVERIFY(c.fraVoorstel->isEnabledTo(w));
        QVERIFY(rig.window->state().useCurrentSetupAp);
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
            << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6", "10.0.0.7",
                           "10.0.0.8", "10.0.0.9", "10.0.0.10", "10.0.0.11", "10.0.0.12", "10.0.0.13"}
            << QStringList{"NIC #1", "NIC #2", "NIC #3", "NIC #4", "NIC #5", "NIC #6", "NIC #7",
                           "NIC #8", "NIC #9", "NIC #10", "NIC #11", "NIC #12", "NIC #13"}
            << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6", "10.0.0.7",
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
            QCOMPARE(QString::fromStdString(rig.window->state().nics[i].ip), stored[i]);
        // Without an adapter no search starts and the window is usable at once.
        QCOMPARE(rig.fakes.timer1->isEnabled(), !tabs.isEmpty());
        QCOMPARE(rig.window->isEnabled(), tabs.isEmpty());
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
        QTest::mouseClick(rig.c().picRefresh, Qt::LeftButton);
        QCOMPARE(tabCaptions(rig.c().TabNIC), (QStringList{"NIC #1", "NIC #2"}));
        // Entries beyond the count keep what an earlier refresh stored.
        QCOMPARE(rig.window->state().nics[2].ip, std::string("10.0.3.2"));
    }

    void recordFieldsAreCutAndCleaned()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{std::string("Intel(R) Ethernet Connection I219-LM with a long name") + '\x01',
                                    std::string("192.168.\t1.2\0\0\0", 15), "255.255.255.0", "192.168.1.1", 2}};
        rig.load();
        const NicRecord& nic = rig.window->state().nics[0];
        QCOMPARE(nic.name, std::string("Intel(R) Ethernet Connection I219-LM with"));
        QCOMPARE(nic.ip, std::string("192.168.1.2"));
    }

    void failingAdapterListKeepsTabsAndSearchesNothing()
    {
        WindowRig rig;
        rig.load();
        rig.finishSearch();
        rig.fakes.adapters.fails = true;
        QTest::mouseClick(rig.c().picRefresh, Qt::LeftButton);
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
        QCOMPARE(rig.c().txtIP->text(), QString("192.168.1.2"));
        // Once the port is free again, the next refresh searches.
        rig.fakes.socket.bindSucceeds = true;
        QTest::mouseClick(rig.c().picRefresh, Qt::LeftButton);
        QVERIFY(rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.c().labStatus->palette().color(QPalette::WindowText), QColor(Qt::black));
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
            QTest::mouseClick(rig.c().picRescan, Qt::LeftButton);
            rig.fakes.time.advance(1.0);
        }
        rig.window->close();
        QCOMPARE(QString::fromStdString(wlan.calls.back()), lastCall);
        QVERIFY(!rig.fakes.socket.isBound());
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
