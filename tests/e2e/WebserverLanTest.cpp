#include "TestMain.h"

#include "PrivateNetwork.h"
#include "SimulatorProcess.h"

#include "fakes/WindowInput.h"

#include "controls/Controls.h"
#include "controls/PictureButton.h"
#include "app/frmHoptrace.h"
#include "platform/PlatformFactory.h"
#include "webserver/SetupDatagrams.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A search takes three seconds; a reboot command waits twelve before it searches again.
constexpr int SearchLimitMs = 20'000;
constexpr int RebootAndSearchLimitMs = 45'000;

QString serverText(frmHoptrace& window) { return window.controls().txtServers->toPlainText(); }

// The bytes the IP setup panel would send for its octet boxes.
QList<int> octets(frmHoptrace& window)
{
    QList<int> values;
    for (const QLineEdit* box : window.controls().txtIPadres)
        values << TavikSetup::OctetValue(box->text().toStdString());
    return values;
}

// Tabs until `target` has the focus; false when the chain never gets there.
bool tabTo(QWidget& window, QWidget* target)
{
    for (int press = 0; press < 60 && QApplication::focusWidget() != target; ++press)
        WindowInput::Key(window, Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

} // namespace

// Runs inside the simulated LAN (started by EndToEndRuns): the program's window on the
// real platform services, the simulator on the device side of two adapters.
class WebserverLanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!PrivateNetwork::onSimulatedLan())
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

        QCOMPARE(window_->controls().TabNIC->count(), 2);
        const QString text = serverText(*window_);
        for (const QString& mac : macs)
            QVERIFY2(text.count(mac) == 1,
                     qPrintable(mac + " listed " + QString::number(text.count(mac)) + " times in:\n" + text));
        QVERIFY(text.contains("Webserver 6 found:"));
        QVERIFY(!text.contains("Webserver 7 found:"));
        // Both adapters carried the request.
        const QStringList received = simulator_.received();
        QVERIFY(!received.filter("192.168.1.10:8080 -> 255.255.255.255").filter("TAVIKwebserver|List|").isEmpty());
        QVERIFY(!received.filter("172.16.5.10:8080 -> 255.255.255.255").filter("TAVIKwebserver|List|").isEmpty());
    }

    // A lone device is selected at once; Set IP then Set DHCP reconfigure it.
    void setIpThenDhcpReconfigureALoneDevice()
    {
        QVERIFY(simulator_.start({"name=WS-S,mac=00:08:DC:12:34:56,mode=static,ip=192.168.1.20,port=8081,"
                                  "mask=255.255.255.0,gw=192.168.1.1,dns=8.8.4.4,iface=sw1"}));
        startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), SearchLimitMs);
        auto* reboot = window_->controls().cmdReboot;
        QCOMPARE(reboot->text(), QString("Reboot 192.168.1.20"));
        QVERIFY(reboot->isEnabled());
        QCOMPARE(window_->controls().txtPort->text(), QString("8081"));
        QCOMPARE(octets(*window_), (QList<int>{192, 168, 1, 20, 255, 255, 255, 0, 192, 168, 1, 1, 8, 8, 4, 4}));

        // A fixed address and port of its own...
        WindowInput::Click(*window_->controls().cmdSetIP);
        QVERIFY(window_->controls().optAutoIP[1]->isChecked());
        typeInto(window_->controls().txtIPadres[3], "30");
        typeInto(window_->controls().txtPort, "8090");
        WindowInput::Click(*window_->controls().cmdIPOK);
        QVERIFY(searchLists("IP Address : 192.168.1.30:8090"));
        QVERIFY(serverText(*window_).contains("IP Assignment : STATIC"));

        // ...then DHCP, keeping the port.
        QCOMPARE(reboot->text(), QString("Reboot 192.168.1.30"));
        WindowInput::Click(*window_->controls().cmdSetIP);
        WindowInput::Click(*window_->controls().optAutoIP[0]);
        WindowInput::Click(*window_->controls().cmdIPOK);
        QVERIFY(searchLists("IP Assignment : DHCP"));

        const QStringList setups = simulator_.received().filter("TAVIKwebserver|Set");
        QVERIFY(!setups.isEmpty());
        QCOMPARE(setups.size(), setups.filter("-> 255.255.255.255").size());
    }

    void dailyPathByKeyboardAlone()
    {
        using WindowInput::Key;
        QVERIFY(simulator_.start({"name=WS-K1,mac=00:08:DC:4B:00:01,mode=static,ip=192.168.1.40,iface=sw1",
                                  "name=WS-K2,mac=00:08:DC:4B:00:02,mode=static,ip=192.168.1.41,port=8081,"
                                  "mask=255.255.255.0,gw=192.168.1.1,dns=192.168.1.1,iface=sw1,delay=500"}));
        startWindow();
        frmHoptrace& w = *window_;
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_VERIFY_WITH_TIMEOUT(w.isEnabled(), SearchLimitMs);
        QTRY_COMPARE(QApplication::focusWidget(), w.controls().txtServers);

        // Search again, select the second device, reboot it.
        Key(w, Qt::Key_F5);
        QVERIFY(!w.isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(w.isEnabled() && serverText(w).contains("Webserver 2 found:"), SearchLimitMs);
        QTRY_COMPARE(QApplication::focusWidget(), w.controls().txtServers);
        Key(w, Qt::Key_End, Qt::ControlModifier);
        Key(w, Qt::Key_Return);
        auto* reboot = w.controls().cmdReboot;
        QCOMPARE(reboot->text(), QString("Reboot 192.168.1.41"));
        QVERIFY(tabTo(w, reboot));
        QStringList shown; // the command waits inside its handler; the list is collected as it changes
        auto* list = w.controls().txtServers;
        connect(list, &QPlainTextEdit::textChanged, this, [&] { shown << list->toPlainText(); });
        Key(w, Qt::Key_Space);
        // The search after the wait lists the rebooted device again.
        QTRY_VERIFY_WITH_TIMEOUT(w.isEnabled() && serverText(w).contains("00:08:DC:4B:00:02")
                                     && !serverText(w).contains("Rebooting"),
                                 RebootAndSearchLimitMs);
        QVERIFY(!shown.filter(QRegularExpression("^Rebooting(\\.\\.\\.)+$")).isEmpty());
        const QStringList reboots = simulator_.received().filter("TAVIKwebserver|Reboot|");
        QCOMPARE(reboots.size(), 2); // both to the device, none broadcast
        QCOMPARE(reboots.filter("-> 192.168.1.41 ").size(), 2);
        list->disconnect(this);

        // Set IP: a typed last octet, Enter for OK.
        QTRY_COMPARE(QApplication::focusWidget(), w.controls().txtServers);
        Key(w, Qt::Key_End, Qt::ControlModifier);
        Key(w, Qt::Key_Return);
        QVERIFY(tabTo(w, w.controls().cmdSetIP));
        Key(w, Qt::Key_Space);
        QCOMPARE(QApplication::focusWidget(), w.controls().optAutoIP[1]);
        QVERIFY(tabTo(w, w.controls().txtIPadres[3]));
        WindowInput::Type(w, "50");
        Key(w, Qt::Key_Return);
        QVERIFY(searchLists("IP Address : 192.168.1.50:8081"));

        // Ping the other device's address; Enter closes the answer.
        QVERIFY(tabTo(w, w.controls().txtIPtoPing));
        WindowInput::Type(w, "192.168.1.40");
        QVERIFY(tabTo(w, w.controls().cmdPing));
        QString answer;
        QTimer answerBox;
        connect(&answerBox, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answer = box->text();
                Key(*box, Qt::Key_Return);
            }
        });
        answerBox.start(50);
        Key(w, Qt::Key_Space);
        QCOMPARE(answer, QString("192.168.1.40 is in use!"));
        // A window manager gives the window back its activation when the box closes; here there is none.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        // The gateway connection starts (and, with no WLAN here, ends with its failure text).
        QVERIFY(tabTo(w, w.controls().cmdWiFiConnect));
        Key(w, Qt::Key_Space);
        QVERIFY(!w.controls().labProgress->text().isEmpty());
        QVERIFY(w.isEnabled());
    }

    void aSecondWindowFindsThePortTaken()
    {
        startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), SearchLimitMs);
        const std::unique_ptr<PlatformServices> secondServices = CreatePlatformServices();
        frmHoptrace second(secondServices->services());
        second.load();
        auto* status = second.controls().labStatus;
        QCOMPARE(status->text(), QString("UDP port 8080 is in use by another program. Webservers cannot be searched."));
        QCOMPARE(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

private:
    // A click into the box selects its text; what is typed then replaces it.
    void typeInto(QLineEdit* box, const QString& text)
    {
        WindowInput::Click(*box);
        QCoreApplication::processEvents();
        WindowInput::Type(*window_, text);
    }

    // Waits for the search that follows a command; a device still rebooting when that
    // search ran is found by the next one.
    bool searchLists(const QString& what)
    {
        for (int search = 0; search < 3; ++search) {
            if (!QTest::qWaitFor([&] { return window_->isEnabled(); }, SearchLimitMs))
                return false;
            if (serverText(*window_).contains(what))
                return true;
            WindowInput::Click(*window_->controls().picRefresh);
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

class EndToEndRuns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void webserversOnTheLan() { PrivateNetwork::runTestClass("WebserverLanTest", PrivateNetwork::Kind::SimulatedLan); }
};

HOPTRACE_TEST(EndToEndRuns)
HOPTRACE_TEST_WHEN(WebserverLanTest, PrivateNetwork::onSimulatedLan)
#include "WebserverLanTest.moc"
