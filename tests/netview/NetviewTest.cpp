#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"
#include "netview/Pinger.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

namespace {

// The window after start on a PC with a wired adapter and a wireless one at `wirelessIp`.
void LoadTwoAdapters(WindowRig& rig, const QString& wirelessIp)
{
    rig.fakes.adapters.list = {{"Wired", "192.168.178.20", "255.255.255.0", "192.168.178.1", 2},
                               {"Wireless", wirelessIp.toStdString(), "255.0.0.0", "10.0.0.1", 3}};
    rig.load();
    rig.finishSearch();
}

// Adapter name, address, mask, gateway, frame caption, the four suggestion boxes, ping box, progress.
QStringList Shown(const Controls& c)
{
    QStringList shown{c.labNICName->text(), c.txtIP->text(), c.txtSubnet->text(), c.txtGateway->text(),
                      c.fraVoorstel->title()};
    for (const QLineEdit* box : c.txtVoorstel)
        shown << box->text();
    return shown << c.txtIPtoPing->text() << c.labProgress->text();
}

void ClickTab(const WindowRig& rig, int n)
{
    WindowInput::ClickAt(*rig.c().TabNIC, rig.c().TabNIC->tabRect(n - 1).center());
}

void Retype(WindowRig& rig, const QLineEdit& box, const QString& text)
{
    WindowInput::Click(box);
    WindowInput::Key(*rig.window, Qt::Key_A, Qt::ControlModifier);
    WindowInput::Key(*rig.window, Qt::Key_Backspace);
    WindowInput::Type(*rig.window, text);
}

const QStringList kWiredShown{"Wired",
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

} // namespace

class NetviewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectingTabShowsItsAdapter_data()
    {
        Columns<bool, QString, QString>("byKey", "ip", "suggested");
        QTest::newRow("mouse") << false << "10.20.30.40" << QString("10.20.30.125");
        QTest::newRow("arrow key") << true << "10.20.30.40" << QString("10.20.30.125");
        QTest::newRow("one dot: third search finds the first again") << false << "10.1" << QString("10.125");
        QTest::newRow("two dots: third search finds nothing") << false << "10.0.1" << QString("125");
        QTest::newRow("no address") << false << "" << QString("125");
    }
    void selectingTabShowsItsAdapter()
    {
        QFETCH(bool, byKey);
        QFETCH(QString, ip);
        QFETCH(QString, suggested);
        WindowRig rig;
        LoadTwoAdapters(rig, ip);
        QCOMPARE(Shown(rig.c()), kWiredShown);
        rig.c().labProgress->setText(QStringLiteral("Connected"));

        if (byKey) {
            // The strip takes the focus from the keyboard only.
            for (int i = 0; i < 50 && QApplication::focusWidget() != rig.c().TabNIC; ++i)
                WindowInput::Key(*rig.window, Qt::Key_Tab);
            WindowInput::Key(*rig.window, Qt::Key_Right);
        } else {
            ClickTab(rig, 2);
        }
        QCOMPARE(Shown(rig.c()),
                 (QStringList{"Wireless", ip, "255.0.0.0", "10.0.0.1", "Suggested for MUREL/Server on NIC#2", suggested,
                              "255.0.0.0", "10.0.0.1", "10.0.0.1", suggested, ""}));

        // The wireless adapter is gone at the next refresh: its selected tab goes, the first is shown.
        rig.fakes.adapters.list.pop_back();
        WindowInput::Click(*rig.c().picRefresh);
        rig.finishSearch();
        QCOMPARE(Shown(rig.c()), kWiredShown);
        // No adapter left: no tab either, and the panel keeps what it shows.
        rig.fakes.adapters.list.clear();
        WindowInput::Click(*rig.c().picRefresh);
        QCOMPARE(rig.c().TabNIC->count(), 0);
        QCOMPARE(Shown(rig.c()), kWiredShown);
    }

    void selectingTabRestoresTypedAddress_data()
    {
        Columns<int>("tabClicked");
        QTest::newRow("same tab clicked") << 1;
        QTest::newRow("other tab and back") << 2;
    }
    void selectingTabRestoresTypedAddress()
    {
        QFETCH(int, tabClicked);
        WindowRig rig;
        LoadTwoAdapters(rig, QStringLiteral("10.0.0.5"));

        Retype(rig, *rig.c().txtIPtoPing, QStringLiteral("192.168.178.200"));
        ClickTab(rig, tabClicked);
        ClickTab(rig, 1);

        QCOMPARE(rig.c().txtIPtoPing->text(), QStringLiteral("192.168.178.125"));
    }

    void pingButtonFollowsText_data()
    {
        Columns<QString, bool>("text", "enabled");
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
        WindowRig rig;
        rig.load();
        rig.finishSearch();

        Retype(rig, *rig.c().txtIPtoPing, text);

        QTEST(rig.c().cmdPing->isEnabled(), "enabled");
    }

    // "Test via Ping" on an adapter 192.168.1.2/24.
    void pingClickReports_data()
    {
        // text empty: the box as it stays on a PC without adapters, the button enabled
        Columns<QString, bool, bool, QString, QString>("text", "answers", "resolved", "message", "pinged");
        const QString sent = QStringLiteral("192.168.1.125");
        QTest::newRow("in use") << sent << true << false << sent + " is in use!" << sent;
        QTest::newRow("free") << sent << false << false << "OK. " + sent + " is free!" << sent;
        QTest::newRow("host that ignores ping") << sent << false << true << sent + " is in use!" << sent;
        QTest::newRow("beyond the PC's subnets the echo decides")
            << "10.1.2.3" << false << true << QString("OK. 10.1.2.3 is free!") << QString("10.1.2.3");
        QTest::newRow("leading zeros pinged as decimal")
            << "192.168.001.010" << true << false << QString("192.168.001.010 is in use!") << QString("192.168.1.10");
        QTest::newRow("letter after last part")
            << "192.168.1.1a" << true << true << QString("192.168.1.1a is not a valid IP address!") << QString();
        QTest::newRow("empty box, no adapter")
            << "" << true << true << QString(" is not a valid IP address!") << QString();
    }
    void pingClickReports()
    {
        QFETCH(QString, text);
        QFETCH(bool, answers);
        QFETCH(bool, resolved);
        QFETCH(QString, message);
        QFETCH(QString, pinged);
        WindowRig rig;
        rig.fakes.echo.answers = [answers](const std::string&) { return answers; };
        if (resolved)
            rig.fakes.neighbours.resolved.insert(text.toStdString());
        if (text.isEmpty())
            rig.fakes.adapters.list.clear();
        rig.load();
        rig.finishSearch();
        if (!text.isEmpty())
            Retype(rig, *rig.c().txtIPtoPing, text);

        WindowInput::Click(*rig.c().cmdPing);

        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{message.toStdString()});
        const std::vector<std::string> asked(!pinged.isEmpty(), pinged.toStdString());
        QCOMPARE(rig.fakes.echo.asked, asked);
        QCOMPARE(rig.fakes.echo.lastHops, pinged.isEmpty() ? 0 : 2);
        // The same Ping serves the gateway sequence, which has no such check before it.
        if (pinged.isEmpty())
            QVERIFY(!Pinger(rig.fakes.echo)(text.toStdString()) && rig.fakes.echo.asked.empty());
    }
};

HOPTRACE_TEST(NetviewTest)
#include "NetviewTest.moc"
