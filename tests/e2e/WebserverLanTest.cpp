#include "TestMain.h"

#include "SimulatedLan.h"
#include "SimulatorProcess.h"

#include "app/Controls.h"
#include "app/frmHoptrace.h"
#include "platform/PlatformFactory.h"
#include "webserver/SetupDatagrams.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

// A search takes three seconds; a reboot command waits twelve before it searches again.
constexpr int SearchLimitMs = 20'000;
constexpr int RebootAndSearchLimitMs = 45'000;

template <typename T> T* control(QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

QString serverText(QWidget& window) { return control<QPlainTextEdit>(window, "txtServers")->toPlainText(); }

// The byte the IP setup panel would send for an octet box.
int octetBox(QWidget& window, int index)
{
    const QString name = QStringLiteral("txtIPadres(%1)").arg(index);
    const auto* box = window.findChild<QLineEdit*>(name);
    return box ? TavikSetup::OctetValue(box->text().toStdString()) : -1;
}

QList<int> octetRow(QWidget& window, int row)
{
    QList<int> octets;
    for (int i = 0; i < 4; ++i)
        octets << octetBox(window, 4 * row + i);
    return octets;
}

} // namespace

// Runs inside the simulated LAN (started by EndToEndRuns): the program's window on the
// real platform services, the simulator on the device side of two adapters.
class WebserverLanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!SimulatedLan::inside())
            QSKIP("runs only inside the simulated LAN (see EndToEndRuns)");
    }

    void cleanup()
    {
        window_.reset();
        services_.reset();
        simulator_.stop();
    }

    void findsEveryDeviceOnBothAdaptersOnce()
    {
        const QStringList macs{"00:08:DC:1A:00:01", "00:08:DC:1A:00:02", "00:08:DC:1A:00:03",
                               "00:0A:5B:20:00:04", "00:08:DC:2B:00:05", "00:08:DC:2B:00:06"};
        QVERIFY(simulator_.start({
            "name=WS-1,mac=" + macs[0] + ",ip=192.168.1.20,iface=sw1",
            "name=WS-2,mac=" + macs[1] + ",ip=192.168.1.21,mode=dhcp,port=8080,iface=sw1",
            "name=WS-3,mac=" + macs[2] + ",ip=192.168.1.22,iface=sw1,delay=700,jitter=200",
            "name=WS-4,mac=" + macs[3] + ",ip=192.168.1.23,iface=sw1",
            "name=WS-5,mac=" + macs[4] + ",ip=172.16.5.20,iface=sw2",
            // An address of no local network: found by broadcast all the same.
            "name=WS-6,mac=" + macs[5] + ",ip=192.168.0.100,iface=sw2",
        }));
        startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), SearchLimitMs);

        QCOMPARE(control<QTabBar>(*window_, "TabNIC")->count(), 2);
        const QString text = serverText(*window_);
        for (const QString& mac : macs)
            QVERIFY2(text.count(mac) == 1, qPrintable(mac + " listed " + QString::number(text.count(mac)) +
                                                      " times in:\n" + text));
        QVERIFY(text.contains("Webserver 6 found:"));
        QVERIFY(!text.contains("Webserver 7 found:"));
        // Both adapters carried the request.
        const QStringList received = simulator_.received();
        QVERIFY(!received.filter("192.168.1.10:8080 -> 255.255.255.255").filter("TAVIKwebserver|List|").isEmpty());
        QVERIFY(!received.filter("172.16.5.10:8080 -> 255.255.255.255").filter("TAVIKwebserver|List|").isEmpty());
    }

    void selectsALoneDeviceAtOnce()
    {
        QVERIFY(simulator_.start({"name=WS-LONE,mac=00:08:DC:12:34:56,mode=static,ip=192.168.1.20,port=8081,"
                                  "mask=255.255.255.0,gw=192.168.1.1,dns=8.8.4.4,iface=sw1"}));
        startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), SearchLimitMs);

        auto* reboot = control<QPushButton>(*window_, "cmdReboot");
        QCOMPARE(reboot->text(), QString("Reboot 192.168.1.20"));
        QVERIFY(reboot->isEnabled());
        QVERIFY(control<QPushButton>(*window_, "cmdSetIP")->isEnabled());
        QVERIFY(control<QRadioButton>(*window_, "optAutoIP(1)")->isChecked());
        QCOMPARE(control<QLineEdit>(*window_, "txtPort")->text(), QString("8081"));
        QCOMPARE(octetRow(*window_, 0), (QList<int>{192, 168, 1, 20}));
        QCOMPARE(octetRow(*window_, 1), (QList<int>{255, 255, 255, 0}));
        QCOMPARE(octetRow(*window_, 2), (QList<int>{192, 168, 1, 1}));
        QCOMPARE(octetRow(*window_, 3), (QList<int>{8, 8, 4, 4}));
    }

    void rebootGoesToTheDeviceOnlyAndItComesBack()
    {
        QVERIFY(simulator_.start({"name=WS-R,mac=00:08:DC:00:00:2A,ip=192.168.1.20,iface=sw1"}));
        startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), SearchLimitMs);
        auto* reboot = control<QPushButton>(*window_, "cmdReboot");
        QVERIFY(reboot->isEnabled());

        // The command waits inside its click handler; what the list shows meanwhile is
        // collected as it changes.
        auto* list = control<QPlainTextEdit>(*window_, "txtServers");
        QStringList shown;
        connect(list, &QPlainTextEdit::textChanged, this, [&] { shown << list->toPlainText(); });
        QTest::mouseClick(reboot, Qt::LeftButton);
        // The refresh after the wait searches again and lists the device again.
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled() && serverText(*window_).contains("00:08:DC:00:00:2A") &&
                                     !serverText(*window_).contains("Rebooting"),
                                 RebootAndSearchLimitMs);
        QVERIFY(!shown.filter(QRegularExpression("^Rebooting(\\.\\.\\.)+$")).isEmpty());

        const QStringList reboots = simulator_.received().filter("TAVIKwebserver|Reboot|");
        QCOMPARE(reboots.size(), 2);
        for (const QString& line : reboots)
            QVERIFY2(line.contains("-> 192.168.1.20 "), qPrintable(line));
    }

    void setIpThenDhcpReconfigureTheDevice()
    {
        QVERIFY(simulator_.start({"name=WS-S,mac=00:08:DC:12:34:56,mode=static,ip=192.168.1.20,port=8081,"
                                  "mask=255.255.255.0,gw=192.168.1.1,dns=192.168.1.1,iface=sw1"}));
        startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), SearchLimitMs);

        // A fixed address and port of its own...
        QTest::mouseClick(control<QPushButton>(*window_, "cmdSetIP"), Qt::LeftButton);
        QVERIFY(control<QRadioButton>(*window_, "optAutoIP(1)")->isChecked());
        control<QLineEdit>(*window_, "txtIPadres(3)")->setText("30");
        control<QLineEdit>(*window_, "txtPort")->setText("8090");
        QTest::mouseClick(control<QPushButton>(*window_, "cmdIPOK"), Qt::LeftButton);
        QVERIFY(searchLists("IP Address : 192.168.1.30:8090"));
        QVERIFY(serverText(*window_).contains("IP Assignment : STATIC"));

        // ...then DHCP, keeping the port.
        QCOMPARE(control<QPushButton>(*window_, "cmdReboot")->text(), QString("Reboot 192.168.1.30"));
        QTest::mouseClick(control<QPushButton>(*window_, "cmdSetIP"), Qt::LeftButton);
        QTest::mouseClick(control<QRadioButton>(*window_, "optAutoIP(0)"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(*window_, "cmdIPOK"), Qt::LeftButton);
        QVERIFY(searchLists("IP Assignment : DHCP"));

        const QStringList setups = simulator_.received().filter("TAVIKwebserver|Set");
        QVERIFY(!setups.filter("-> 255.255.255.255").isEmpty());
        QCOMPARE(setups.size(), setups.filter("-> 255.255.255.255").size());
    }

private:
    // Waits for the search that follows a command; a device still rebooting when that
    // search ran is found by the next one.
    bool searchLists(const QString& what)
    {
        for (int search = 0; search < 3; ++search) {
            if (!QTest::qWaitFor([&] { return window_->isEnabled(); }, SearchLimitMs))
                return false;
            if (serverText(*window_).contains(what))
                return true;
            QTest::mouseClick(window_->findChild<QWidget*>("picRefresh"), Qt::LeftButton);
        }
        return false;
    }

    void startWindow()
    {
        services_ = CreatePlatformServices();
        window_ = std::make_unique<frmHoptrace>(services_->services());
        window_->load(); // shows the window, as the program's start does
    }

    SimulatorProcess simulator_;
    std::unique_ptr<PlatformServices> services_;
    std::unique_ptr<frmHoptrace> window_;
};

// Starts each LAN class in a simulated LAN of its own.
class EndToEndRuns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void webserversOnTheLan() { SimulatedLan::runTestClass("WebserverLanTest"); }
    void simulatorBesideTheProgram() { SimulatedLan::runTestClass("SharedNamespaceLanTest"); }
};

HOPTRACE_TEST(EndToEndRuns)
HOPTRACE_TEST_WHEN(WebserverLanTest, SimulatedLan::inside)
#include "WebserverLanTest.moc"
