#include "TestMain.h"

#include "fakes/WindowRig.h"

#include "devices/CommissioningLog.h"
#include "devices/DeviceFacts.h"
#include "devices/DeviceReply.h"
#include "devices/DeviceSearch.h"
#include "devices/SetupDatagrams.h"
#include "devices/SubstringIndex.h"
#include "webserver/WebserverSession.h"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QSettings>

#include <algorithm>
#include <random>
#include <ranges>

using namespace WindowInput;

namespace {
std::string heading(int n) { return "\r\nWebserver " + std::to_string(n) + " found:\r\n\r\n"; }

// Reboot, Load defaults, or the IP setup panel's OK (opened first).
enum Command { Reboot, IpSetup };

bool isSetup(const FakeUdpSocket::Sent& sent) { return sent.bytes.starts_with("TAVIKwebserver|Set"); }

// Device n's reply as devices of one kind send it: without the lines named in `missing`, and
// ending with its DNS line unless a Firmware line follows.
std::string ShapedReply(int n, const QStringList& missing, bool firmwareLine)
{
    const std::string i = std::to_string(n);
    // host name, MAC, assignment, address, mask, gateway, DNS
    return TavikReply({"Dev-" + i, "00:08:DC:00:00:0" + i, "STATIC", "10.77.0.2" + i + ":8" + i, "255.255.255.0",
                       "10.77.0.1", "10.77.0.5" + i, missing, firmwareLine});
}

// How a command ends: with one new search, or none when the window closes during its wait.
struct Ending {
    const char* name;
    Command command;
    int refusing = -2;     // the adapter whose sends fail; -1: every adapter
    double closeAt = 0.0;  // 0: the window stays open
    bool answered = false; // the device shows the settings sent (DHCP, port 80) 0.2 s after the click
    int copies = -1;       // SetIP/SetDHCP datagrams sent; -1: not counted
    double endsBy = 12.5;  // seconds from the click to the command's end
};
const Ending kEndings[] = {
    {.name = "Reboot, send refused", .command = Reboot, .refusing = -1},
    {.name = "IP setup, send refused", .command = IpSetup, .refusing = -1, .copies = 0},
    {.name = "IP setup, one adapter down", .command = IpSetup, .refusing = 2, .copies = 3},
    {.name = "Reboot, closed in the wait", .command = Reboot, .closeAt = 3.0, .endsBy = 3.5},
    {.name = "IP setup, closed while sending", .command = IpSetup, .closeAt = 1.5, .endsBy = 2},
    {.name = "IP setup, closed rebooting", .command = IpSetup, .closeAt = 5, .answered = true, .endsBy = 5.5},
};

bool SentTo(const WindowRig& rig, const std::string& host)
{
    return std::ranges::any_of(rig.fakes.socket.sent, [&](const FakeUdpSocket::Sent& s) {
        return s.host == host && s.bytes == "TAVIKwebserver|List|";
    });
}

// The list's menu, opened as a person opens it: a right click in the list, the Menu key, or
// Shift+F10.
QMenu* OpenListMenu(WindowRig& rig, const QString& how)
{
    QPlainTextEdit& list = *rig.c().txtServers;
    if (how == "right click") {
        ClickAt(*list.viewport(), QPoint(40, 40), Qt::RightButton);
    } else {
        Click(list);
        Key(*rig.window, how == "Menu key" ? Qt::Key_Menu : Qt::Key_F10,
            how == "Menu key" ? Qt::NoModifier : Qt::ShiftModifier);
    }
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Opens "Search addresses..." through the menu and types `entry` over what it shows (its
// labels' texts, a line each, go to shownFirst), then Enter: "closed", or what it shows then.
QString EnterAddresses(WindowRig& rig, const QString& entry, QString* shownFirst = nullptr)
{
    const bool chosen = ChooseFromMenu(*rig.c().txtServers->viewport(), "Search addresses...") == true;
    QPointer dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    const auto shown = [&dialog] {
        QString text;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            text += label->isVisible() ? label->text() + '\n' : QString();
        return text;
    };
    if (!chosen || !dialog)
        return "no dialog opened";
    if (shownFirst)
        *shownFirst = shown();
    Key(*dialog, Qt::Key_A, Qt::ControlModifier);
    Key(*dialog, Qt::Key_Backspace);
    Type(*dialog, entry);
    Key(*dialog, Qt::Key_Return);
    return dialog && dialog->isVisible() ? shown() : "closed";
}
} // namespace

using namespace TavikSetup;

// The search and its list, a click's selection, the commands, their datagrams and their record;
// the addresses searched beyond the broadcast, entered through the list's menu.
class WebserverTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchOutcomes_data()
    {
        // late: how many of the datagrams come after the search has ended;
        // refusing: the adapter whose sends fail, -1 every one
        const auto row = Columns<QByteArrayList, int, int, int>("datagrams", "late", "listed", "refusing");
        const QByteArray a(TavikReply().c_str()), b(TavikReply({.mac = "00:08:DC:00:00:02"}).c_str());
        row("two wait for a click", {a, b}, 0, 2, -2);
        row("late after No find: listed, not selected", {a}, 1, 1, -2);
        row("late after a lone one: neither selected", {a, b}, 1, 2, -2);
        row("one adapter down does not silence the other; its one reply is selected", {a}, 0, 1, 2);
        row("every adapter refuses: one box, and the search still ends", {}, 0, 0, -1);
        // Our own request, another program's text, a label in other case or at the very end: "No find".
        row("no reply",
            {"TAVIKwebserver|List|", "TAVIKwebserver|MAC Address : 1", "hello on port 8080",
             "Mac Address : 00:08:DC:00:00:01", "Host Name : x\r\nMAC Address"},
            0, 0, -2);
    }
    void searchOutcomes()
    {
        const auto [datagrams, late, listed, refusing] = Fetch<QByteArrayList, int, int, int>("datagrams", "late",
                                                                                              "listed", "refusing");
        WindowRig rig;
        rig.fakes.adapters.list = {{"down", "10.9.0.2", "255.255.0.0", "", 2},
                                   {"eth1", "192.168.1.2", "255.255.255.0", "", 3}};
        rig.fakes.socket.sendSucceeds = refusing != -1;
        rig.fakes.socket.refusingInterface = refusing;
        rig.fakes.messages.openSeconds = 5.0;
        rig.load();
        const Controls& c = rig.c();
        QString status;
        rig.fakes.time.schedule(2.5, [&] { status = c.labStatus->text(); });
        QVERIFY(!rig.window->isEnabled());
        QVERIFY(c.Animation1->isVisible());
        QVERIFY(c.Animation1->isPlaying());
        for (int n = 0; n < datagrams.size(); ++n) {
            if (n == datagrams.size() - late)
                rig.finishSearch();
            rig.fakes.socket.deliver(datagrams[n].toStdString(), 0.8 + 0.4 * n, "192.168.1.20", 3);
        }
        rig.finishSearch();
        std::string expected = listed ? "" : "No find";
        for (int n = 0; n < listed; ++n)
            expected += heading(n + 1) + datagrams[n].toStdString();
        QCOMPARE(rig.serverText(), expected);
        const bool lone = listed - late == 1 && !late;
        QCOMPARE(c.labStatus->text(), listed > late ? "Please select webserver to reboot or to set IP." : "");
        QCOMPARE(c.cmdReboot->text(), lone ? "Reboot 192.168.1.20" : "Reboot");
        QCOMPARE(c.cmdReboot->isEnabled(), lone);
        // A lone device is described on its buttons when the search ends; a late one drops that.
        QCOMPARE(c.cmdReboot->toolTip(), lone ? "Found on NIC #2 (192.168.1.2/24)" : "");
        QCOMPARE(c.txtServers->extraSelections().size(), listed - late == 1 ? 1 : 0); // the lone block is marked
        const bool ticked = refusing != -1;
        QCOMPARE(rig.sentCount("TAVIKwebserver|List|"), ticked ? (refusing == 2 ? 3 : 6) : 0);
        for (const auto& request : rig.fakes.socket.sent)
            QCOMPARE(QString::fromStdString(request.host + ':' + std::to_string(request.port))
                         + (request.interfaceIndex >= 2 ? "" : " of no adapter"),
                     "255.255.255.255:8080");
        QCOMPARE(int(rig.fakes.messages.shown.size()), refusing == -1 ? 1 : 0);
        if (ticked)
            QCOMPARE(status, QString("Searching.........")); // three dots per tick
        for (const QWidget* usable :
             std::initializer_list<const QWidget*>{rig.window.get(), c.picRefresh, c.fraMurel, c.cmdWiFiConnect})
            QVERIFY2(usable->isEnabled(), qPrintable(usable->objectName() + " disabled"));
        QVERIFY(!rig.window->search().ticking());
        QVERIFY(!c.Animation1->isVisible());
        // The port stays bound the whole time: nothing waiting in its buffer is thrown away.
        QCOMPARE(rig.fakes.socket.closeCalls, 1);
        QCOMPARE(rig.fakes.socket.bindCalls, 1);
    }

    void aBurstIsReadWholeAndAStreamLetsTheSearchEnd()
    {
        // A thousand replies (one twice), then copies arriving faster than they are read: the
        // reading must give the event loop back, or the search's ticks would never come.
        WindowRig rig;
        rig.load();
        std::vector<std::string> burst;
        for (int i = 0; i < 1000; ++i) {
            const QString mac = QString::asprintf("00:08:DC:00:%02X:%02X", i / 256, i % 256);
            burst.push_back(TavikReply({.mac = mac.toStdString()}));
            if (i == 10)
                burst.push_back(burst.back());
        }
        const std::string big = std::string(40000, 'x') + TavikReply({.mac = "00:08:DC:01:00:00"})
            + std::string(20000, 'y');
        burst.push_back(big);
        rig.fakes.socket.deliverBurst(burst, 0.5);
        int left = 1'000'000;
        rig.fakes.socket.stream = [&]() { return left-- > 0 ? std::optional(burst[5]) : std::nullopt; };
        rig.finishSearch();
        QVERIFY2(left > 0, "the stream kept the search from its end");
        QVERIFY(!rig.window->search().ticking());
        QCOMPARE(rig.window->search().count(), 1001);
        const QString text = QString::fromStdString(rig.serverText());
        QVERIFY(text.contains("Webserver 98 found:"));
        QVERIFY(!text.contains("Webserver 99 found:"));
        QVERIFY(text.contains("00:08:DC:00:03:E7"));
        QVERIFY(text.endsWith(QString::fromStdString("\r\n\r\n" + big)));
    }

    void aSelectionIsMarkedAndDescribedOnItsButtons()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2},
                                   {"lan2", "172.16.5.10", "255.255.0.0", "", 3}};
        rig.load();
        rig.fakes.socket.deliver(TavikReply({.address = "192.168.1.21:80"}), 0.2, "192.168.1.21", 2);
        rig.fakes.socket.deliver(
            TavikReply({.host = "second", .mac = "00:08:DC:00:00:02", .address = "192.168.1.30:81"}), 0.4,
            "192.168.1.30", 3);
        rig.finishSearch();
        const Controls& c = rig.c();
        // Which adapter heard the device, and what that tells, on its buttons only; the captions stay.
        // The very start of the list selects nothing; then the first block, then the second, heard on
        // NIC #2 though its address is on NIC #1's network (where else a click selects which block:
        // everyReplyIsSelectedInsideItsOwnBlock).
        const std::tuple<const char*, int, QString, QString> clicks[] = {
            {"\r\nWebserver 1", 0, "", ""},
            {"Webserver 1 found:", 3, "192.168.1.21", "Found on NIC #1 (192.168.1.10/24)"},
            {"Host Name : second", 2, "192.168.1.30",
             "Found on NIC #2 (172.16.5.10/16)\n192.168.1.30 is not on the network of NIC #2: Reboot may not reach it; "
             "Set IP can move it."}};
        for (const auto& [where, offset, selected, hint] : clicks) {
            rig.clickServerListAt(rig.serverText().rfind(where) + offset);
            QCOMPARE(QString::fromStdString(rig.window->session().selection().ip), selected);
            for (QPushButton* button : {c.cmdReboot, c.cmdDefault, c.cmdSetIP}) {
                QCOMPARE(button->toolTip(), hint);
                QCOMPARE(button->accessibleDescription(), hint);
            }
            // The list marks the selected reply's own lines, from its host name to its last line.
            const QString marked = c.txtServers->extraSelections().value(0).cursor.selectedText();
            QVERIFY2(selected.isEmpty()
                         || (marked.startsWith("Host Name") && marked.endsWith("Firmware : 1.07")
                             && marked.count("Host Name") == 1 && marked.contains(selected)),
                     qPrintable(marked));
        }
        // A new search drops the selection and its description.
        Click(*c.picRefresh);
        rig.finishSearch();
        QCOMPARE(c.cmdReboot->toolTip(), QString());
        QCOMPARE(c.cmdSetIP->accessibleDescription(), QString());
    }

    void aBlockFillsWhatItHas_data()
    {
        const auto row = Columns<QString, QString>("block", "filled");
        const QString head = "Host Name : a\r\nMAC Address : 00:08:DC:00:00:01\r\n",
                      dhcp = head + "IP Assignment : DHCP\r\n";
        // A whole reply, with the gateway and DNS rows every one of them fills.
        const auto whole = [&](const char* name, std::string address, QString filled,
                               std::string mask = "255.255.255.0", std::string mac = "00:08:DC:00:00:01") {
            const ReplyFields fields{.mac = mac, .assignment = "STATIC", .address = address, .mask = mask};
            row(name, QString::fromStdString(TavikReply(fields)), filled + "|192/168/1/1|192/168/1/1");
        };
        whole("00:0A device", "10.0.0.1:80", "10.0.0.1 - 80 10/0/0/1|255/0/0/0", "255.0.0.0", "00:0A:DC:00:00:01");
        // What a block does not hold stays empty (nothing of the device selected before), and without
        // an address there is nothing to set up; without an assignment the panel is in its start state.
        row("no assignment or address", head, " -  ///|///|///|///");
        row("no address line", dhcp + "SubNet Mask : 255.255.255.0\r\nGateway : 10.77.0.1",
            " -  ///|255/255/255/0|10/77/0/1|///");
        row("no assignment, nothing after the address's colon",
            head + "IP Address : 10.1.2.3:", "10.1.2.3 SetIP 0 10/1/2/3|///|///|///");
        row("no port on the address's line", dhcp + "IP Address : 10.1.2.3\r\nSubNet Mask : 255.0.0.0",
            "10.1.2.3 SetIP  10/1/2/3|255/0/0/0|///|///");
        row("five pieces, label in other case", dhcp + "IP Address : 10.1.2.3.4:82\r\nSubnet Mask : 255.0.0.0\r\nX : y",
            "10.1.2.3.4 SetIP 82 10/1/2/3|///|///|///");
        // The box rules judge a reply's whole value, before a box's length limit cuts it.
        whole("long octet and port", "1000.2.3.4:123456", "1000.2.3.4 SetIP 8080 255/2/3/4|255/255/255/0");
        whole("negative octets", "-1.2.3.-4:80", "-1.2.3.-4 SetIP 80 255/2/3/|255/255/255/0");
        whole("huge exponents, port -infinity", "10.0.0.1:-1e999", "10.0.0.1 SetIP 8080 10/0/0/1|255/1/1/1",
              "2e22.1.1.1");
        whole("exponent octet, long in-range octet", "1e1.0100.3.1000:60000",
              "1e1.0100.3.1000 SetIP 60000 1e1/100/3/|255/255/0/100", "255.255.0.0100");
    }
    void aBlockFillsWhatItHas()
    {
        QFETCH(QString, block);
        WindowRig rig; // the block is followed by a whole one, selected first, from which it must take nothing
        rig.listReplies(
            {block.toStdString(),
             TavikReply(
                 {.mac = "00:08:DC:00:00:77", .assignment = "STATIC", .address = "10.9.9.9:99", .dns = "10.9.9.1"})});
        rig.clickServerListAt(rig.serverText().rfind("00:08:DC:00:00:77"));
        rig.clickServerListAt(rig.serverText().find(heading(2)));
        const Controls& c = rig.c();
        const QString ip = QString::fromStdString(rig.window->session().selection().ip);
        // The address, whether Set IP is offered, the port, the boxes: "/" between them, "|" between rows.
        QString seen = ip + (c.cmdSetIP->isEnabled() ? " SetIP " : " - ") + c.txtPort->text();
        for (int box = 0; box < 16; ++box)
            seen += (box == 0 ? " " : box % 4 ? "/" : "|") + c.txtIPadres[box]->text();
        QTEST(seen, "filled");
        QCOMPARE(c.cmdReboot->isEnabled(), !ip.isEmpty());
        QCOMPARE(c.cmdDefault->text(), ip.isEmpty() ? "Load defaults" : "Load defaults on " + ip);
        if (!ip.isEmpty())
            QCOMPARE(c.optAutoIP[0]->isChecked(), !block.contains("IP Assignment : STATIC"));
    }

    // Every listed reply is selected by a click on its first or last character, and only by a
    // click inside it; a heading counts to the reply above it (the first heading to the first reply).
    void everyReplyIsSelectedInsideItsOwnBlock_data()
    {
        const auto row = Columns<QStringList, QStringList, bool>("first", "others", "firmwareLine");
        row("complete", {}, {}, true);
        row("ending with the DNS line", {}, {}, false);
        for (const char* label : {"Host Name", "IP Assignment", "IP Address", "SubNet Mask", "Gateway", "DNS Server"})
            row(QByteArray("without ") + label, {label}, {label}, true);
        row("first without assignment and address, then complete", {"IP Assignment", "IP Address"}, {}, true);
        row("first without DNS, ending with its gateway", {"DNS Server"}, {}, false);
    }
    void everyReplyIsSelectedInsideItsOwnBlock()
    {
        const auto [first, others, firmwareLine] = Fetch<QStringList, QStringList, bool>("first", "others",
                                                                                         "firmwareLine");
        std::vector<std::string> replies;
        for (int n = 1; n <= 3; ++n)
            replies.push_back(ShapedReply(n, n == 1 ? first : others, firmwareLine));
        WindowRig rig;
        rig.listReplies(replies); // through the socket, as the devices send them
        const std::string text = rig.serverText();
        const Controls& c = rig.c();
        for (int n = 1; n <= 3; ++n) {
            const std::string& reply = replies[n - 1];
            const std::size_t begin = text.find(reply);
            QVERIFY(begin != std::string::npos);
            const std::size_t lastShown = begin + reply.find_last_not_of("\r\n");
            const std::size_t heading = text.find("Webserver " + std::to_string(n) + " found:");
            // carets: before and after the first and the last character, and inside the heading
            const std::pair<std::size_t, int> clicks[] = {
                {begin, n}, {begin + 1, n}, {lastShown, n}, {lastShown + 1, n}, {heading + 3, std::max(n - 1, 1)}};
            for (const auto& [caret, selected] : clicks) {
                rig.clickServerListAt(caret);
                const QStringList& missing = selected == 1 ? first : others;
                const std::string i = std::to_string(selected);
                QVERIFY2(rig.window->session().selection().mac == "00:08:DC:00:00:0" + i,
                         qPrintable(QString("device %1, caret %2").arg(n).arg(caret)));
                const bool hasAddress = !missing.contains("IP Address");
                QCOMPARE(c.cmdReboot->text(), hasAddress ? QString::fromStdString("Reboot 10.77.0.2" + i) : "Reboot");
                QCOMPARE(c.cmdReboot->isEnabled() && c.cmdSetIP->isEnabled(), hasAddress);
                QCOMPARE(c.txtIPadres[15]->text(),
                         missing.contains("DNS Server") ? QString() : QString::fromStdString("5" + i));
            }
        }
    }

    // On a LAN that others share, the socket hears more than replies to this program. Only a turn
    // that lists a device not listed before changes the selection.
    void onlyAListingChangesTheSelection_data()
    {
        const auto row = Columns<QByteArray, bool>("datagram", "listsOne");
        row("another PC's list request", "TAVIKwebserver|List|", false);
        row("a stray datagram", "hello on port 8080", false);
        row("a listed device's repeat", ShapedReply(2, {}, true).c_str(), false);
        row("a new device: Reboot is withdrawn", ShapedReply(4, {}, true).c_str(), true);
    }
    void onlyAListingChangesTheSelection()
    {
        const auto [datagram, listsOne] = Fetch<QByteArray, bool>("datagram", "listsOne");
        WindowRig rig;
        rig.listReplies({ShapedReply(1, {}, true), ShapedReply(2, {}, true), ShapedReply(3, {}, true)});
        const Controls& c = rig.c();
        rig.clickServerListAt(rig.serverText().find("00:08:DC:00:00:02"));
        const auto on = [](QWidget* w) { return QString(w->isEnabled() ? "enabled" : "disabled"); };
        const auto state = [&] {
            return QString("%1 %2, Set IP %3, marked %4")
                .arg(c.cmdReboot->text(), on(c.cmdReboot), on(c.cmdSetIP))
                .arg(c.txtServers->extraSelections().size());
        };
        const QString selected = state();
        QCOMPARE(selected, "Reboot 10.77.0.22 enabled, Set IP enabled, marked 1");
        rig.fakes.socket.deliver(datagram.toStdString(), 0.1, "192.168.1.30", 3);
        rig.fakes.time.advance(0.5);
        QCOMPARE(state(), listsOne ? "Reboot disabled, Set IP enabled, marked 1" : selected);
    }

    // The command line reads a reply by the list's block rules (a block in the list taking nothing
    // of the reply after it: aBlockFillsWhatItHas), and turns the port and rows into its record.
    void theCommandLineReadsEveryShapeAsTheList_data()
    {
        // read: "address port mask gateway dns", then "dhcp" or "fixed" or "-" for no assignment
        const auto row = Columns<std::string, QString>("reply", "read");
        row("ending with the DNS line", ShapedReply(1, {}, false),
            "10.77.0.21 81 255.255.255.0 10.77.0.1 10.77.0.51 fixed");
        row("nothing after the address's colon",
            "MAC Address : 00:08:DC:00:00:04\r\nIP Address : 10.1.2.3:", "10.1.2.3 0    -");
        row("no port on the address's line",
            "MAC Address : 00:08:DC:00:00:04\nIP Address : 10.1.2.3\nGateway : 10.0.0.1", "10.1.2.3 0  10.0.0.1  -");
        row("five pieces, a port beyond 65535", TavikReply({.address = "10.1.2.3.4:70000", .dns = "10.0.0.2.7"}),
            "10.1.2.3.4 0 255.255.255.0 192.168.1.1 10.0.0.2 dhcp");
    }
    void theCommandLineReadsEveryShapeAsTheList()
    {
        QFETCH(std::string, reply);
        const auto alone = ReadDeviceReply(reply);
        QVERIFY(alone);
        QTEST(QString::fromStdString(alone->address + " " + std::to_string(alone->port) + " " + alone->mask + " "
                                     + alone->gateway + " " + alone->dns)
                  + (alone->dhcp ? *alone->dhcp ? " dhcp" : " fixed" : " -"),
              "read");
    }

    void deviceHints()
    {
        const std::vector<NicRecord> nics{{"lan1", "192.168.1.10", "255.255.255.0", "192.168.1.1", 2},
                                          {"lan2", "172.16.5.10", "255.255.0.0", "", 3}};
        // Devices A to G as one search heard them; D on no known adapter, F and G without an address.
        const std::string a = "192.168.1.20", b = "192.168.1.21";
        const std::vector<HeardDevice> heard{{"A", a, 2}, {"B", a, 3},  {"C", b, 3}, {"D", b, -1},
                                             {"E", b, 3}, {"F", "", 2}, {"G", "", 3}};
        const auto hint = [&](std::size_t n) {
            return QString::fromStdString(DeviceHintText(heard[n].address, FactsAbout(heard[n], heard, nics)));
        };
        const QString nic1 = "Found on NIC #1 (192.168.1.10/24)";
        QCOMPARE(hint(0), nic1 + "\n192.168.1.20 is also the address of B: two devices answer on it.");
        QCOMPARE(hint(3), "192.168.1.21 is also the address of C, E: several devices answer on it.");
        QCOMPARE(hint(5), nic1); // no address is no duplicate and no mismatch
    }

    // The "already listed" index answers as the plain substring search, over lists grown by appends
    // and replaced now and then, asked for pieces of the list, near misses (a small alphabet) and "".
    void theListIndexAnswersAsThePlainSearch()
    {
        std::mt19937 random(11);
        auto pick = [&](std::size_t n) { return n ? random() % n : 0; };
        auto randomText = [&](std::size_t length) {
            std::string s;
            while (s.size() < length)
                s += "0A8:\r\n"[pick(6)];
            return s;
        };
        SubstringIndex index;
        std::string text;
        for (int round = 0; round < 4000; ++round) {
            if (pick(200) == 0) {
                text = randomText(pick(30));
                index.reset();
            } else {
                text += randomText(pick(40));
                index.extend(text);
            }
            const std::string what = pick(2) ? randomText(pick(20)) : text.substr(pick(text.size()), pick(19));
            QCOMPARE(index.contains(text, what), text.find(what) != std::string::npos);
        }
    }

    void rebootCountsItsWaitAndSelectsNothingMeanwhile()
    {
        WindowRig rig;
        rig.load();
        rig.fakes.socket.deliver(TavikReply(), 0.4, "192.168.1.20", 7); // heard on interface 7
        rig.finishSearch();
        const std::string other = TavikReply({.mac = "00:08:DC:00:00:42"});
        rig.fakes.socket.deliver(other, 2.5);
        std::string seen;
        bool rebootDuringWait = true;
        rig.fakes.time.schedule(4.5, [&] {
            seen = rig.serverText();
            QCOMPARE(rig.c().labStatus->text(), QString("Sending Reboot.."));
            rig.clickServerListAt(seen.find("00:08:DC:00:00:42"));
            rebootDuringWait = rig.c().cmdReboot->isEnabled() || rig.c().cmdSetIP->isEnabled();
        });
        const int searchesBefore = rig.fakes.adapters.calls;
        Click(*rig.c().cmdReboot);
        rig.finishOperation();
        // A dot row a second, and the answer listed without a numbered heading, but not selectable
        // until the wait ends.
        QCOMPARE(seen, "Rebooting......\r\n\r\n" + other + "......");
        QVERIFY2(!rebootDuringWait, "a click in the wait offered a command");
        QCOMPARE(QString::fromStdString(rig.window->session().selection().mac), "00:08:DC:00:00:01");
        QCOMPARE(rig.sentCount("TAVIKwebserver|Reboot|"), 2);
        const auto& last = rig.fakes.socket.sent.back();
        // Out of the interface that heard the device, as a device on no local network needs.
        QCOMPARE(QString::fromStdString(last.host + ':' + std::to_string(last.port) + '%'
                                        + std::to_string(last.interfaceIndex)),
                 "192.168.1.20:8080%7");
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
    }

    void eachCommandEndsWithOneSearchOrNone_data() { EntryRows(kEndings); }
    void eachCommandEndsWithOneSearchOrNone()
    {
        QFETCH(int, entry);
        const Ending& e = kEndings[entry];
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "10.0.0.2", "255.0.0.0", "", 2},
                                   {"eth1", "192.168.1.2", "255.255.255.0", "", 3}};
        rig.listReplies({TavikReply()});
        rig.fakes.socket.sendSucceeds = e.refusing != -1;
        rig.fakes.socket.refusingInterface = e.refusing;
        if (e.answered)
            rig.fakes.socket.deliver(TavikReply(), 0.2);
        if (e.closeAt > 0)
            rig.fakes.time.schedule(e.closeAt, [&] { rig.window->close(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        const double clicked = rig.fakes.time.elapsed();
        const Controls& c = rig.c();
        if (e.command == IpSetup)
            Click(*c.cmdSetIP);
        Click(e.command == Reboot ? *c.cmdReboot : *c.cmdIPOK);
        rig.finishOperation();
        QCOMPARE(int(rig.fakes.messages.shown.size()), e.refusing == -1 ? 1 : 0); // one "Network error!" box
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + (e.closeAt > 0 ? 0 : 1));
        QVERIFY(rig.fakes.time.elapsed() - clicked <= e.endsBy);
        if (e.copies >= 0)
            QCOMPARE(int(std::ranges::count_if(rig.fakes.socket.sent, isSetup)), e.copies);
        if (e.closeAt > 0) { // no tick may touch the closed socket
            QVERIFY(!rig.fakes.socket.isBound());
            QVERIFY(!rig.window->search().ticking());
        }
    }

    void theSettingsLeaveEveryAdapterUntilAnAnswer_data()
    {
        // box: the octet box typed into last, -1 the port box; answer: a reply 0.5 s after OK;
        // result: the datagram, or the refusal
        const auto row = Columns<bool, int, QString, std::string, bool, QByteArray>("fixIp", "box", "typed", "answer",
                                                                                    "confirmed", "result");
        const QByteArray dhcp("TAVIKwebserver|SetDHCP|\x12\x34\x56\x00\x51|", 29);
        const QByteArray fixIp("TAVIKwebserver|SetIP|"
                               "\x12\x34\x56\xC0\xA8\x01\x14\x00\x51\xFF\xFF\xFF\x00\xC0\xA8\x01\x01\x08\x08\x08\x08|",
                               43);
        const QByteArray address = "Please fill in all four numbers of the IP address.";
        const QByteArray port = "Please enter a port number.", unreachable = "Please enter the device's IP address.";
        // Only the selected device's reply showing what was sent confirms it, listed already or not.
        const std::string mac = "00:08:DC:12:34:56", none;
        ReplyFields sent{.mac = mac, .assignment = "STATIC", .address = "192.168.1.20:81", .dns = "8.8.8.8"};
        ReplyFields otherGateway = sent;
        otherGateway.gateway = "192.168.1.254";
        row("DHCP, answered with DHCP and the port sent", false, -1, "81",
            TavikReply({.mac = mac, .address = "192.168.1.20:81"}), true, dhcp);
        row("DHCP, the MAC in lower case", false, -1, "81",
            TavikReply({.mac = "00:08:dc:12:34:56", .address = "192.168.1.20:81"}), true, dhcp);
        row("Fix IP, answered with the values sent", true, 15, "8", TavikReply(sent), true, fixIp);
        row("Fix IP, another gateway", true, 15, "8", TavikReply(otherGateway), false, fixIp);
        row("Fix IP, an empty DNS box is sent as 0", true, 12, "", none, false,
            fixIp.chopped(5) + '\0' + "\x08\x08\x08|");
        row("Fix IP, empty last octet", true, 3, "", none, false, address);
        row("Fix IP, empty port", true, -1, "", none, false, port);
        row("DHCP, empty port", false, -1, "", none, false, port);
        // Values no device can be reached at are refused as an empty box is.
        row("Fix IP, port 00", true, -1, "00", none, false, port);
        row("Fix IP, 0.168.1.20", true, 0, "0", none, false, unreachable);
        row("Fix IP, 223.168.1.20 is sent", true, 0, "223", none, false, fixIp.left(24) + '\xDF' + fixIp.mid(25));
    }
    void theSettingsLeaveEveryAdapterUntilAnAnswer()
    {
        const auto row = Fetch<bool, int, QString, std::string, bool, QByteArray>("fixIp", "box", "typed", "answer",
                                                                                  "confirmed", "result");
        const auto& [fixIp, box, typed, answer, confirmed, result] = row;
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        const std::string mac = "00:08:DC:12:34:56";
        rig.listReplies({TavikReply({.host = "Hall\x80\x93", .mac = mac})});
        const Controls& c = rig.c();
        Click(*c.cmdSetIP);
        QCOMPARE(c.fraSetIP->title(), QString("Set IP on 00:08:DC:12:34:56"));
        QVERIFY(c.fraSetIP->isVisible());
        QVERIFY(!c.txtServers->isEnabled());
        QVERIFY(!c.picRefresh->isEnabled());
        Retype(*rig.window, *c.txtPort, "81");
        // Cancel keeps the edits for the next opening.
        Click(*c.cmdIPCancel);
        QVERIFY(c.fraSetIP->isHidden());
        QVERIFY(c.txtServers->isEnabled());
        QVERIFY(c.cmdReboot->isEnabled());
        Click(*c.cmdSetIP);
        Click(*c.optAutoIP[fixIp ? 1 : 0]);
        QCOMPARE(c.fraIP->isEnabled(), fixIp);
        for (int box = 12; box < 16; ++box)
            Retype(*rig.window, *c.txtIPadres[box], "8");
        QLineEdit* typedInto = box == -1 ? c.txtPort : c.txtIPadres[box];
        Retype(*rig.window, *typedInto, typed);
        if (!answer.empty())
            rig.fakes.socket.deliver(answer, 0.5);
        QStringList status;
        std::string listed;
        for (double at : {1.2, 12.9})
            rig.fakes.time.schedule(at, [&] { status << c.labStatus->text(); });
        rig.fakes.time.schedule(1.2, [&] { listed = rig.serverText(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        const double clicked = rig.fakes.time.elapsed();
        Click(*c.cmdIPOK);
        rig.finishOperation();
        if (!result.startsWith("TAVIK")) { // refused: nothing sent, the caret waits in the box concerned
            QLineEdit* concerned = result.endsWith("device's IP address.") ? c.txtIPadres[0] : typedInto;
            QVERIFY(std::ranges::none_of(rig.fakes.socket.sent, isSetup));
            QVERIFY(c.fraSetIP->isVisible());
            QCOMPARE(QApplication::focusWidget(), concerned);
            QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{result.toStdString()});
            return;
        }
        std::vector<int> interfaces;
        for (const auto& copy : rig.fakes.socket.sent | std::views::filter(isSetup)) {
            QCOMPARE(QByteArray::fromStdString(copy.bytes), result);
            QCOMPARE(QString::fromStdString(copy.host), "255.255.255.255");
            QCOMPARE(qRound(10 * (copy.at - clicked)), 10 * int(interfaces.size() / 2)); // a pair a second
            interfaces.push_back(copy.interfaceIndex);
        }
        QCOMPARE(interfaces, (confirmed ? std::vector<int>{2, 3} : std::vector<int>{2, 3, 2, 3, 2, 3}));
        QVERIFY(c.fraSetIP->isHidden());
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QCOMPARE(rig.fakes.time.elapsed() - clicked < 3.5, !confirmed);
        if (!confirmed) {
            if (!answer.empty()) // a reply that confirms nothing is listed as any other
                QCOMPARE(listed.ends_with(answer), ReadDeviceReply(answer)->mac != mac);
            return;
        }
        const QString rebooting = "IPsetup sent OK. Rebooting";
        QCOMPARE(status, (QStringList{rebooting, rebooting + QString("...").repeated(12)}));
        QCOMPARE(c.cmdReboot->text(), QString("Reboot"));
    }

    // Set IP's line as sent, and its outcome once the refresh after the wait has listed the
    // device again; Reboot closed in its wait is recorded as cancelled.
    void eachCommandIsRecordedWithItsOutcome_data()
    {
        const auto row = Columns<bool, QString, QString>("setIp", "refreshSees", "recorded");
        row("Set IP, back with the values sent", true, "192.168.1.20:80", "set-dhcp seen-new-values");
        row("Set IP, back with others", true, "192.168.1.20:81", "set-dhcp seen-other-values");
        row("Set IP, confirmed, then not found", true, {}, "set-dhcp confirmed");
        row("Reboot, window closed in its wait", false, {}, "reboot cancelled");
    }
    void eachCommandIsRecordedWithItsOutcome()
    {
        const auto [setIp, refreshSees] = Fetch<bool, QString>("setIp", "refreshSees");
        QFile::remove(CommissioningLog::DefaultPath());
        WindowRig rig;
        rig.listReplies({TavikReply({.host = "Hall-3"})});
        const Controls& c = rig.c();
        if (setIp) {
            Click(*c.cmdSetIP);
            rig.fakes.socket.deliver(TavikReply({.host = "Hall-3"}), 0.5); // it shows what was sent
            Click(*c.cmdIPOK);
            rig.finishOperation();
            if (!refreshSees.isEmpty())
                rig.fakes.socket.deliver(TavikReply({.address = refreshSees.toStdString()}), 1.5);
            rig.finishSearch();
        } else {
            Click(*c.cmdReboot);
            rig.fakes.time.advance(3);
            rig.window->close();
            rig.fakes.time.advance(0.0); // the log's last append, which the program's end waits for
        }
        const LogReading log = ReadLogFile(CommissioningLog::DefaultPath());
        QCOMPARE(log.entries.size(), 1u);
        const LogEntry& e = log.entries.front();
        QTEST(QString::fromLatin1(CommandKindName(e.record.command)) + ' '
                  + QString::fromLatin1(OutcomeName(e.outcome.value_or(CommandOutcome::NotSeen))),
              "recorded");
        QCOMPARE(e.record.program + ' ' + e.record.mac + ' ' + e.record.hostName + ' ' + e.record.before.address,
                 "hoptrace 00:08:DC:00:00:01 Hall-3 192.168.1.20");
        QCOMPARE(e.record.sent.dhcp, setIp ? std::optional(true) : std::nullopt);
    }

    void setupRequests_data()
    {
        // values: the bytes between "TAVIKwebserver|SetDHCP|" or "...|SetIP|" and the closing "|", in hex
        const auto row = Columns<std::string, QByteArray>("built", "values");
        row("port 60000, lower-case MAC hex", SetDHCPRequest("60000", "00:08:dc:ab:cd:ef"), "abcdefea60");
        row("empty port, MAC hex ends at a non-hex character", SetDHCPRequest("", "00:08:DC:1G:G1:A-"), "01000a0000");
        row("empty box 0, halves to the even neighbour",
            SetIPRequest({"", "2.5", "3.5", "1", "255", "255", "255", "", "1", "1", "1", "1", "1", "1", "1", "1"}, "80",
                         "00:08:DC:12:34:56"),
            "123456000204010050ffffff000101010101010101");
        row("value bytes | and 0 not escaped",
            SetIPRequest({"124", "0", "124", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "124"}, "124",
                         "00:08:DC:7C:00:7c"),
            "7c007c7c007c00007c00000000000000000000007c");
    }
    void setupRequests()
    {
        const auto [built, values] = Fetch<std::string, QByteArray>("built", "values");
        const bool dhcp = values.size() == 10;
        const QByteArray kind = dhcp ? "TAVIKwebserver|SetDHCP|" : "TAVIKwebserver|SetIP|";
        QCOMPARE(QByteArray::fromStdString(built).toHex(), kind.toHex() + values + "7c");
        // The simulator reads them back, value bytes equal to "|" too; anything but the exact layout is no request.
        QCOMPARE(ParseSetIP(built).has_value(), !dhcp);
        QCOMPARE(ParseSetDHCP(built).has_value(), dhcp);
        for (const std::string& bad : {built + '|', built.substr(0, built.size() - 1) + 'x', "tavik" + built.substr(5)})
            QVERIFY2(!ParseSetIP(bad) && !ParseSetDHCP(bad),
                     qPrintable("read as a request: " + QByteArray::fromStdString(bad).toHex()));
    }

    void init() { QSettings().remove("search/addresses"); }

    // Each way of opening the menu offers the list's own items and the search by address; a right
    // click, on the first device's lines, reads no block: the selection stays with the second.
    void theMenuOpensEachWay_data()
    {
        const auto row = Columns<QString>("how");
        for (const char* how : {"right click", "Menu key", "Shift+F10"})
            row(how, how);
    }
    void theMenuOpensEachWay()
    {
        auto [how] = Fetch<QString>("how");
        WindowRig rig;
        rig.listReplies({TavikReply(), TavikReply({.mac = "00:08:DC:00:00:02", .address = "192.168.1.21:80"})});
        rig.clickServerListAt(rig.serverText().find("00:08:DC:00:00:02"));
        QMenu* menu = OpenListMenu(rig, how);
        QVERIFY2(menu, "no menu opened");
        QVERIFY(MenuItem(*menu, "Search addresses..."));
        QVERIFY(std::ranges::any_of(menu->actions(), [](QAction* a) { return a->text().contains("Copy"); }));
        menu->close();
        if (how == "right click")
            QCOMPARE(rig.c().cmdReboot->text(), "Reboot 192.168.1.21");
    }

    // OK stores the entry and searches it at once, and at every later start; a device that
    // answers from it is counted in the list's tooltip and the dialog.
    void storedAddressesAreSearchedFromNowOn()
    {
        {
            WindowRig rig;
            rig.listReplies({});
            QCOMPARE(EnterAddresses(rig, "10.77.0.20, 10.78.0.0/30"), "closed");
            rig.fakes.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:07", .address = "10.77.0.20:80"}), 1.5,
                                     "10.77.0.20");
            rig.finishSearch();
            QVERIFY(SentTo(rig, "10.77.0.20"));
            QVERIFY(SentTo(rig, "10.78.0.3"));
            QVERIFY2(rig.c().txtServers->toolTip().contains("1 device(s) answered"),
                     qPrintable(rig.c().txtServers->toolTip()));
            QVERIFY(rig.serverText().find("00:08:DC:00:00:07") != std::string::npos);
        }
        WindowRig restarted;
        restarted.listReplies({});
        QVERIFY(SentTo(restarted, "10.77.0.20"));
        // Nothing answered this time, and the dialog says so; an empty entry clears them.
        QString shown;
        QCOMPARE(EnterAddresses(restarted, "", &shown), "closed");
        QVERIFY2(shown.contains("No device answered from these addresses in the last search."), qPrintable(shown));
        QVERIFY(!QSettings().contains("search/addresses"));
    }

    // A refused entry stays in the dialog with the reason, and nothing is stored or sent.
    void aRefusedEntryNamesItsFault_data()
    {
        const auto row = Columns<QString, QString>("entry", "named");
        row("prefix wider than /22", "10.3.1.0/20", "10.3.1.0/20");
        row("no address", "10.2.0.15, 10.2.0.999", "10.2.0.999");
        row("too many", "10.3.0.0/22 10.9.0.1", "1,024");
        row("loopback", "127.0.0.5", "127.0.0.5");
    }
    void aRefusedEntryNamesItsFault()
    {
        auto [entry, named] = Fetch<QString, QString>("entry", "named");
        WindowRig rig;
        rig.listReplies({});
        const std::size_t sentBefore = rig.fakes.socket.sent.size();
        const QString shown = EnterAddresses(rig, entry);
        QVERIFY2(shown.contains(named), qPrintable(shown)); // not "closed": the dialog refused the entry
        rig.fakes.time.advance(5);
        QCOMPARE(rig.fakes.socket.sent.size(), sentBefore);
        QVERIFY(!QSettings().contains("search/addresses"));
        QApplication::activeModalWidget()->close();
    }
};

HOPTRACE_TEST(WebserverTest)
#include "WebserverTest.moc"
