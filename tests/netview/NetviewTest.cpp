#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"
#include "platform/Pinger.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

namespace {

// Adapter name, address, mask, gateway, frame caption, the four suggestion boxes, ping box, progress; by "|".
QString Shown(const Controls& c)
{
    QStringList shown{c.labNICName->text(), c.txtIP->text(), c.txtSubnet->text(), c.txtGateway->text(),
                      c.fraVoorstel->title()};
    for (const QLineEdit* box : c.txtVoorstel)
        shown << box->text();
    return (shown << c.txtIPtoPing->text() << c.labProgress->text()).join(QLatin1Char('|'));
}

const QString kWiredShown = QStringLiteral("Wired|192.168.178.20|255.255.255.0|192.168.178.1|Suggested for MUREL/"
                                           "Server on NIC#1|192.168.178.125|255.255.255.0|192.168.178.1|"
                                           "192.168.178.1|192.168.178.125|");

} // namespace

class NetviewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectingTabShowsItsAdapter_data()
    {
        Columns<bool, QString, QString>("byKey", "ip", "suggested");
        Row("mouse", false, "10.20.30.40", "10.20.30.125");
        Row("arrow key", true, "10.20.30.40", "10.20.30.125");
        Row("one dot: third search finds the first again", false, "10.1", "10.125");
        Row("two dots: third search finds nothing", false, "10.0.1", "125");
        Row("no address", false, "", "125");
    }
    void selectingTabShowsItsAdapter()
    {
        QFETCH(bool, byKey);
        QFETCH(QString, ip);
        QFETCH(QString, suggested);
        WindowRig rig; // a wired adapter and a wireless one at `ip`
        rig.fakes.adapters.list = {{"Wired", "192.168.178.20", "255.255.255.0", "192.168.178.1", 2},
                                   {"Wireless", ip.toStdString(), "255.0.0.0", "10.0.0.1", 3}};
        rig.listReplies({});
        QCOMPARE(Shown(rig.c()), kWiredShown);
        rig.c().labProgress->setText(QStringLiteral("Connected"));

        // The strip takes the focus from the keyboard only.
        for (int i = 0; byKey && i < 50 && QApplication::focusWidget() != rig.c().TabNIC; ++i)
            WindowInput::Key(*rig.window, Qt::Key_Tab);
        if (byKey)
            WindowInput::Key(*rig.window, Qt::Key_Right);
        else
            WindowInput::ClickAt(*rig.c().TabNIC, rig.c().TabNIC->tabRect(1).center());
        QCOMPARE(Shown(rig.c()),
                 QStringLiteral("Wireless|%1|255.0.0.0|10.0.0.1|Suggested for MUREL/Server on NIC#2|"
                                "%2|255.0.0.0|10.0.0.1|10.0.0.1|%2|")
                     .arg(ip, suggested));

        // The wireless adapter is gone at the next refresh: its selected tab goes, the first is shown.
        rig.fakes.adapters.list.pop_back();
        WindowInput::Click(*rig.c().picRefresh);
        rig.finishSearch();
        QCOMPARE(Shown(rig.c()), kWiredShown);
        // An address typed into the ping box gives way to the suggestion when a tab is clicked.
        WindowInput::Retype(*rig.window, *rig.c().txtIPtoPing, QStringLiteral("192.168.178.200"));
        WindowInput::ClickAt(*rig.c().TabNIC, rig.c().TabNIC->tabRect(0).center());
        QCOMPARE(Shown(rig.c()), kWiredShown);
        // No adapter left: no tab either, and the panel keeps what it shows.
        rig.fakes.adapters.list.clear();
        WindowInput::Click(*rig.c().picRefresh);
        QCOMPARE(rig.c().TabNIC->count(), 0);
        QCOMPARE(Shown(rig.c()), kWiredShown);
    }

    // "Test via Ping" on an adapter 192.168.1.2/24. A click on the disabled button does nothing.
    void ping_data()
    {
        Columns<QString, bool, bool, QString, QString>("text", "answers", "resolved", "message", "pinged");
        Row("in use", "192.168.1.125", true, false, "192.168.1.125 is in use!", "192.168.1.125");
        Row("free", "192.168.1.125", false, false, "OK. 192.168.1.125 is free!", "192.168.1.125");
        Row("host that ignores ping", "192.168.1.125", false, true, "192.168.1.125 is in use!", "192.168.1.125");
        Row("beyond the PC's subnets the echo decides", "10.1.2.3", false, true, "OK. 10.1.2.3 is free!", "10.1.2.3");
        Row("leading zeros are decimal", "192.168.001.010", true, false, "192.168.001.010 is in use!", "192.168.1.10");
        Row("letter after last part", "192.168.1.1a", true, true, "192.168.1.1a is not a valid IP address!", "");
        Row("last part empty", "192.168.1.", true, true, "192.168.1. is not a valid IP address!", "");
        // On a PC without adapters the box stays empty and the button keeps its first state.
        Row("no adapter", "", true, true, " is not a valid IP address!", "");
        for (const char* disabled : {"192.168.1", "192.168.1.1.1", "192.168.1.256", "192.168.-1.1", ""})
            Row(disabled[0] ? disabled : "emptied", disabled, true, true, "", "");
    }
    void ping()
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
        const bool noAdapter = text.isEmpty() && !message.isEmpty();
        if (noAdapter)
            rig.fakes.adapters.list.clear();
        rig.listReplies({});
        if (!noAdapter)
            WindowInput::Retype(*rig.window, *rig.c().txtIPtoPing, text);

        WindowInput::Click(*rig.c().cmdPing);
        rig.finishOperation();

        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>(!message.isEmpty(), message.toStdString()));
        // The same Ping serves the gateway sequence, which has no such check before it.
        QVERIFY(!pinged.isEmpty() || !Pinger(rig.fakes.echo)(text.toStdString()));
        QCOMPARE(rig.fakes.echo.asked, std::vector<std::string>(!pinged.isEmpty(), pinged.toStdString()));
        QCOMPARE(rig.fakes.echo.lastHops, pinged.isEmpty() ? 0 : 2);
    }
};

HOPTRACE_TEST(NetviewTest)
#include "NetviewTest.moc"
