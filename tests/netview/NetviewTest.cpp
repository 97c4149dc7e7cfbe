#include "TestMain.h"

#include "fakes/WindowRig.h"

#include "platform/NeighbourTable.h"
#include "platform/Pinger.h"

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

Q_DECLARE_METATYPE(NeighbourTable::Resolution)

class NetviewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectingTabShowsItsAdapter_data()
    {
        const auto row = Columns<bool, QString, QString>("byKey", "ip", "suggested");
        row("mouse", false, "10.20.30.40", "10.20.30.125");
        row("arrow key", true, "10.20.30.40", "10.20.30.125");
        row("one dot: third search finds the first again", false, "10.1", "10.125");
        row("two dots: third search finds nothing", false, "10.0.1", "125");
        row("no address", false, "", "125");
    }
    void selectingTabShowsItsAdapter()
    {
        const auto [byKey, ip, suggested] = Fetch<bool, QString, QString>("byKey", "ip", "suggested");
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

    // "Test via Ping" on an adapter 192.168.1.2/24 (interface 2): the echo takes 1 s, the ARP
    // question after it 2 s, and the button waits for both. A click on the disabled button does
    // nothing.
    void ping_data()
    {
        using Arp = NeighbourTable::Resolution;
        const auto row = Columns<QString, bool, bool, Arp, QString, QString, QString, double>(
            "text", "answers", "inTable", "arp", "message", "pinged", "asked", "seconds");
        row("in use", "192.168.1.125", true, false, Arp::Unanswered, "192.168.1.125 is in use!", "192.168.1.125", "",
            1.0);
        row("a host that ignores ping answers ARP", "192.168.1.125", false, false, Arp::Answered,
            "192.168.1.125 is in use!", "192.168.1.125", "192.168.1.125%2", 3.0);
        row("a host that has left: the ARP silence outweighs its entry", "192.168.1.125", false, true, Arp::Unanswered,
            "OK. 192.168.1.125 is free!", "192.168.1.125", "192.168.1.125%2", 3.0);
        for (const bool inTable : {true, false})
            row(inTable ? "ARP unknown: an entry in the table means in use" : "ARP unknown, no entry: free",
                "192.168.1.125", false, inTable, Arp::Unknown,
                inTable ? "192.168.1.125 is in use!" : "OK. 192.168.1.125 is free!", "192.168.1.125", "192.168.1.125%2",
                3.0);
        row("beyond the PC's subnets the echo decides", "10.1.2.3", false, true, Arp::Answered, "OK. 10.1.2.3 is free!",
            "10.1.2.3", "", 1.0);
        row("leading zeros are decimal", "192.168.001.010", false, false, Arp::Answered, "192.168.001.010 is in use!",
            "192.168.1.10", "192.168.1.10%2", 3.0);
        row("letter after last part", "192.168.1.1a", true, true, Arp::Answered,
            "192.168.1.1a is not a valid IP address!", "", "", 0.0);
        row("last part empty", "192.168.1.", true, true, Arp::Answered, "192.168.1. is not a valid IP address!", "", "",
            0.0);
        // On a PC without adapters the box stays empty and the button keeps its first state.
        row("no adapter", "", true, true, Arp::Answered, " is not a valid IP address!", "", "", 0.0);
        for (const char* disabled : {"192.168.1", "192.168.1.1.1", "192.168.1.256", "192.168.-1.1", ""})
            row(disabled[0] ? disabled : "emptied", disabled, true, true, Arp::Answered, "", "", "", 0.0);
    }
    void ping()
    {
        const auto [text, answers, inTable, arp, message, pinged, asked, seconds] =
            Fetch<QString, bool, bool, NeighbourTable::Resolution, QString, QString, QString, double>(
                "text", "answers", "inTable", "arp", "message", "pinged", "asked", "seconds");
        WindowRig rig;
        rig.fakes.echo.answers = [answers](const std::string&) { return answers; };
        rig.fakes.echo.costSeconds = 1.0;
        rig.fakes.neighbours.answer = arp;
        rig.fakes.neighbours.askSeconds = 2.0;
        if (inTable)
            rig.fakes.neighbours.resolved.insert(pinged.toStdString());
        const bool noAdapter = text.isEmpty() && !message.isEmpty();
        if (noAdapter)
            rig.fakes.adapters.list.clear();
        rig.listReplies({});
        if (!noAdapter)
            WindowInput::Retype(*rig.window, *rig.c().txtIPtoPing, text);
        WindowInput::Click(*rig.c().cmdPing);
        if (seconds > 0) {
            rig.fakes.time.advance(seconds - 0.1);
            QCOMPARE(rig.fakes.messages.shown.size(), 0u);
            QVERIFY(!rig.c().cmdPing->isEnabled());
        }
        rig.finishOperation();
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>(!message.isEmpty(), message.toStdString()));
        // The same Ping serves the gateway sequence, which has no such check before it.
        QVERIFY(!pinged.isEmpty() || !Pinger(rig.fakes.echo).Ping(text.toStdString()));
        QCOMPARE(rig.fakes.echo.asked, std::vector<std::string>(!pinged.isEmpty(), pinged.toStdString()));
        QCOMPARE(rig.fakes.echo.lastHops, pinged.isEmpty() ? 0 : 2);
        QCOMPARE(rig.fakes.neighbours.asked, std::vector<std::string>(!asked.isEmpty(), asked.toStdString()));
    }
};

HOPTRACE_TEST(NetviewTest)
#include "NetviewTest.moc"
