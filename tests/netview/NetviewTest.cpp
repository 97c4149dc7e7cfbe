#include "TestMain.h"

#include "fakes/FakeServices.h"
#include "fakes/WindowInput.h"

#include "common/AdapterTable.h"
#include "netview/AdapterView.h"
#include "netview/PingTest.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Answers every echo request alike and notes each as "address, hops, seconds".
class RecordingEcho final : public EchoTest {
public:
    bool echo(const std::string& address, int maxHops, double timeoutSeconds) override
    {
        asked << QStringLiteral("%1, %2, %3").arg(QString::fromStdString(address)).arg(maxHops).arg(timeoutSeconds);
        return answers;
    }
    bool answers = false;
    QStringList asked;
};

Services WithEcho(const Services& s, EchoTest& echo)
{
    return {s.clock, s.waiter,   s.timer1,  s.socket, s.adapters, echo,          s.neighbours,
            s.wlan,  s.commands, s.tempDir, s.urls,   s.messages, s.provisioning};
}

// The controls of the local network view, owned by `window`.
AdapterViewWidgets ViewOn(QWidget& window)
{
    AdapterViewWidgets view;
    view.TabNIC = new QTabBar(&window);
    view.labNICName = new QLabel(&window);
    view.txtIP = new QLineEdit(&window);
    view.txtSubnet = new QLineEdit(&window);
    view.txtGateway = new QLineEdit(&window);
    view.fraVoorstel = new QGroupBox(&window);
    for (auto& box : view.txtVoorstel)
        box = new QLineEdit(&window);
    view.txtIPtoPing = new QLineEdit(&window);
    view.labProgress = new QLabel(&window);
    return view;
}

// Those controls with both controllers wired to them as the window wires them, the
// adapter tables behind them and faked services.
struct NetviewPanel {
    NetviewPanel()
    {
        // One below the other and shown, so that input through the window finds each.
        auto* column = new QVBoxLayout(&window);
        for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            column->addWidget(w);
        window.show();
        (void)QTest::qWaitForWindowActive(&window);
    }
    // Stores the next adapter and gives it its tab "NIC #n", as a refresh does.
    void addAdapter(const std::string& name, const std::string& ip, const std::string& mask, const std::string& gateway)
    {
        nics.store(int(nics.size()) + 1, {name, ip, mask, gateway});
        view.TabNIC->addTab(QStringLiteral("NIC #%1").arg(nics.size()));
        adapterView.TabNIC_Click();
    }
    // A mouse click on tab number n (from 1).
    void clickTab(int n)
    {
        QCoreApplication::processEvents(); // the layout takes the new tab, as the screen shows it
        WindowInput::ClickAt(*view.TabNIC, view.TabNIC->tabRect(n - 1).center());
    }

    FakeServices fakes;
    RecordingEcho echo;
    Services services = WithEcho(fakes.services(), echo);
    AdapterTable nics;
    QWidget window;
    AdapterViewWidgets view = ViewOn(window);
    PingTestWidgets ping{view.txtIPtoPing, new QPushButton(&window)};
    AdapterView adapterView{view, nics};
    PingTest pingTest{ping, services};
};

} // namespace

class NetviewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectingTabShowsItsAdapter_data()
    {
        QTest::addColumn<QString>("selectBy");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("mouse") << "mouse"
                               << "10.20.30.40"
                               << "10.20.30.125";
        QTest::newRow("arrow key") << "key"
                                   << "10.20.30.40"
                                   << "10.20.30.125";
        QTest::newRow("program") << "program"
                                 << "10.20.30.40"
                                 << "10.20.30.125";
        QTest::newRow("one dot: third search finds the first again") << "mouse"
                                                                     << "10.1"
                                                                     << "10.125";
        QTest::newRow("two dots: third search finds nothing") << "mouse"
                                                              << "10.0.1"
                                                              << "125";
        QTest::newRow("no address") << "mouse"
                                    << ""
                                    << "125";
    }
    void selectingTabShowsItsAdapter()
    {
        QFETCH(QString, selectBy);
        QFETCH(QString, ip);
        QFETCH(QString, suggested);
        NetviewPanel panel;
        const AdapterViewWidgets& v = panel.view;
        const auto shown = [&v] {
            QStringList shown{v.labNICName->text(), v.txtIP->text(), v.txtSubnet->text(), v.txtGateway->text(),
                              v.fraVoorstel->title()};
            for (const QLineEdit* box : v.txtVoorstel)
                shown << box->text();
            return shown << v.txtIPtoPing->text() << v.labProgress->text();
        };
        panel.addAdapter("Wired", "192.168.178.20", "255.255.255.0", "192.168.178.1");
        panel.addAdapter("Wireless", ip.toStdString(), "255.0.0.0", "10.0.0.1");
        const QStringList first{"Wired",
                                "192.168.178.20",
                                "255.255.255.0",
                                "192.168.178.1",
                                "Suggested for MUREL/Server on NIC#1",
                                "192.168.178.125",
                                "255.255.255.0",
                                "192.168.178.1",
                                "192.168.178.1",
                                "192.168.178.125",
                                ""};
        QCOMPARE(shown(), first);
        v.labProgress->setText(QStringLiteral("Connected"));

        if (selectBy == "mouse")
            panel.clickTab(2);
        else if (selectBy == "key") {
            panel.clickTab(1);
            WindowInput::Key(panel.window, Qt::Key_Right);
        } else
            v.TabNIC->setCurrentIndex(1);

        QCOMPARE(shown(),
                 (QStringList{"Wireless", ip, "255.0.0.0", "10.0.0.1", "Suggested for MUREL/Server on NIC#2", suggested,
                              "255.0.0.0", "10.0.0.1", "10.0.0.1", suggested, ""}));
        v.TabNIC->removeTab(1); // the selection falls back to the first tab, which is shown
        v.TabNIC->removeTab(0); // no tab left: the panel keeps what it shows
        QCOMPARE(shown(), first);
    }

    void selectingTabRestoresEditedAddress_data()
    {
        QTest::addColumn<bool>("inSuggestion"); // else typed into the ping box
        QTest::addColumn<int>("tabClicked");
        QTest::newRow("suggestion typed, same tab clicked") << true << 1;
        QTest::newRow("suggestion typed, other tab and back") << true << 2;
        QTest::newRow("ping box typed, same tab clicked") << false << 1;
    }
    void selectingTabRestoresEditedAddress()
    {
        QFETCH(bool, inSuggestion);
        QFETCH(int, tabClicked);
        NetviewPanel panel;
        panel.addAdapter("Wired", "192.168.1.34", "255.255.255.0", "192.168.1.1");
        panel.addAdapter("Wireless", "10.0.0.5", "255.255.255.0", "10.0.0.1");
        QLineEdit* edited = inSuggestion ? panel.view.txtVoorstel[0] : panel.view.txtIPtoPing;

        WindowInput::Click(*edited);
        WindowInput::Key(panel.window, Qt::Key_A, Qt::ControlModifier);
        WindowInput::Type(panel.window, QStringLiteral("192.168.1.200"));
        QCOMPARE(panel.view.txtIPtoPing->text(), QStringLiteral("192.168.1.200"));
        panel.clickTab(tabClicked);
        panel.clickTab(1);

        QCOMPARE(panel.view.txtVoorstel[0]->text(), QStringLiteral("192.168.1.125"));
        QCOMPARE(panel.view.txtIPtoPing->text(), QStringLiteral("192.168.1.125"));
    }

    void pingButtonFollowsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("suggested address") << "192.168.1.125" << true;
        QTest::newRow("last part empty passes") << "192.168.1." << true;
        QTest::newRow("three parts") << "192.168.1" << false;
        QTest::newRow("five parts") << "192.168.1.1.1" << false;
        QTest::newRow("256") << "192.168.1.256" << false;
        QTest::newRow("negative") << "192.168.-1.1" << false;
        QTest::newRow("emptied") << "" << false;
    }
    void pingButtonFollowsText()
    {
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        NetviewPanel panel;
        panel.ping.txtIPtoPing->setText(QStringLiteral("x"));
        panel.ping.cmdPing->setEnabled(!enabled);

        panel.ping.txtIPtoPing->setText(text);

        QCOMPARE(panel.ping.cmdPing->isEnabled(), enabled);
    }

    void pingClickReports_data()
    {
        QTest::addColumn<QString>("text"); // empty: the box as it starts, button enabled
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("asked"); // address, hops, seconds of each echo request
        const QStringList none;
        const QString sent = QStringLiteral("192.168.1.125");
        QTest::newRow("in use") << sent << true << sent + " is in use!" << QStringList{sent + ", 2, 1"};
        QTest::newRow("free") << sent << false << "OK. " + sent + " is free!" << QStringList{sent + ", 2, 1"};
        QTest::newRow("leading zeros pinged as decimal")
            << "192.168.001.010" << true << "192.168.001.010 is in use!" << QStringList{"192.168.1.10, 2, 1"};
        QTest::newRow("letter after last part")
            << "192.168.1.1a" << true << "192.168.1.1a is not a valid IP address!" << none;
        QTest::newRow("empty box at start") << "" << true << " is not a valid IP address!" << none;
    }
    void pingClickReports()
    {
        QFETCH(QString, text);
        QFETCH(bool, answers);
        QFETCH(QString, message);
        QFETCH(QStringList, asked);
        NetviewPanel panel;
        panel.echo.answers = answers;
        if (!text.isEmpty())
            panel.ping.txtIPtoPing->setText(text);

        WindowInput::Click(*panel.ping.cmdPing);
        if (asked.isEmpty()) // the window's Ping, used elsewhere too, refuses such a text as well
            QVERIFY(!panel.pingTest.pinger()(text.toStdString()));

        QCOMPARE(panel.fakes.messages.shown, std::vector<std::string>{message.toStdString()});
        QCOMPARE(panel.echo.asked, asked);
    }
};

HOPTRACE_TEST(NetviewTest)
#include "NetviewTest.moc"
