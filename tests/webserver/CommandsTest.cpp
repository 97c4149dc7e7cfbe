#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"
#include "webserver/SetupDatagrams.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <ranges>

namespace {
// Reboot, Load defaults, or the IP setup panel's OK (opened first).
enum Command { Reboot, LoadDefaults, IpSetup };

void run(WindowRig& rig, Command command)
{
    const Controls& c = rig.c();
    if (command == LoadDefaults) { // nothing in the window shows or enables it; the command is still there
        c.cmdDefault->setEnabled(true);
        c.cmdDefault->show();
    }
    if (command == IpSetup)
        WindowInput::Click(*c.cmdSetIP);
    WindowInput::Click(command == Reboot ? *c.cmdReboot : command == LoadDefaults ? *c.cmdDefault : *c.cmdIPOK);
}

// A click into the box selects its text; what is typed then replaces it.
void typeInto(WindowRig& rig, QLineEdit* box, const QString& text)
{
    WindowInput::Click(*box);
    QCoreApplication::processEvents();
    if (text.isEmpty())
        WindowInput::Key(*rig.window, Qt::Key_Backspace);
    WindowInput::Type(*rig.window, text);
}

bool isSetup(const FakeUdpSocket::Sent& sent) { return sent.bytes.starts_with("TAVIKwebserver|Set"); }

// How a command ends: with one new search, or none when the window closes during its wait.
struct Ending {
    const char* name;
    Command command;
    int refusing = -2; // the adapter whose sends fail; -1: every adapter
    double startAt = 36000.0;
    double closeAt = 0.0;  // 0: the window stays open
    bool answered = false; // a device not listed yet answers 0.2 s after the click
    int boxes = 0;         // "Network error!" boxes
    int copies = -1;       // SetIP/SetDHCP datagrams sent; -1: not counted
    double endsBy = 12.5;  // seconds from the click to the command's end
};
const Ending kEndings[] = {
    {.name = "Reboot, send refused", .command = Reboot, .refusing = -1, .boxes = 1},
    {.name = "Load defaults, send refused", .command = LoadDefaults, .refusing = -1, .boxes = 1},
    {.name = "IP setup, send refused", .command = IpSetup, .refusing = -1, .boxes = 1, .copies = 0},
    {.name = "IP setup, one adapter down", .command = IpSetup, .refusing = 2, .copies = 3},
    {.name = "Reboot, closed in the wait", .command = Reboot, .closeAt = 3.0, .endsBy = 3.5},
    {.name = "IP setup, closed while sending", .command = IpSetup, .closeAt = 1.5, .endsBy = 2},
    {.name = "IP setup, closed rebooting", .command = IpSetup, .closeAt = 5, .answered = true, .endsBy = 5.5},
    {.name = "Reboot after midnight", .command = Reboot, .startAt = 86395.0, .endsBy = 0.5},
    {.name = "IP setup after midnight", .command = IpSetup, .startAt = 86395.0, .copies = 0, .endsBy = 0.5},
};
} // namespace

using namespace TavikSetup;

class CommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rebootCountsItsWaitAndSelectsNothingMeanwhile()
    {
        WindowRig rig;
        rig.listReplies({TavikReply()});
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
        const double clicked = rig.fakes.time.elapsed();
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*rig.c().cmdReboot);
        // A dot row a second, and the answer listed without a numbered heading, but not selectable
        // until the wait ends.
        QCOMPARE(seen, "Rebooting......\r\n\r\n" + other + "......");
        QVERIFY(!rebootDuringWait && rig.window->state().selectedMac == "00:08:DC:00:00:01");
        QCOMPARE(rig.sentCount("TAVIKwebserver|Reboot|"), 2);
        const auto& last = rig.fakes.socket.sent.back();
        QVERIFY(last.host == "192.168.1.20" && last.port == 8080 && rig.fakes.time.elapsed() - clicked >= 12.0);
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
    }

    void eachCommandEndsWithOneSearchOrNone_data()
    {
        Columns<int>("row");
        for (int row = 0; row < int(std::size(kEndings)); ++row)
            QTest::newRow(kEndings[row].name) << row;
    }
    void eachCommandEndsWithOneSearchOrNone()
    {
        QFETCH(int, row);
        const Ending& e = kEndings[row];
        WindowRig rig(e.startAt);
        rig.fakes.adapters.list = {{"eth0", "10.0.0.2", "255.0.0.0", "", 2},
                                   {"eth1", "192.168.1.2", "255.255.255.0", "", 3}};
        rig.listReplies({TavikReply()});
        if (e.startAt > 86000.0)
            rig.fakes.time.advance(86400.3 - e.startAt - rig.fakes.time.elapsed());
        rig.fakes.socket.sendSucceeds = e.refusing != -1;
        rig.fakes.socket.refusingInterface = e.refusing;
        if (e.answered)
            rig.fakes.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:99"}), 0.2);
        if (e.closeAt > 0)
            rig.fakes.time.schedule(e.closeAt, [&] { rig.window->close(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        const double clicked = rig.fakes.time.elapsed();
        run(rig, e.command);
        QCOMPARE(int(rig.fakes.messages.shown.size()), e.boxes);
        QCOMPARE(rig.fakes.adapters.calls,
                 searchesBefore + (e.closeAt > 0 ? 0 : 1)); // a closed window searches no more
        QVERIFY(rig.fakes.time.elapsed() - clicked <= e.endsBy);
        if (e.copies >= 0)
            QCOMPARE(int(std::ranges::count_if(rig.fakes.socket.sent, isSetup)), e.copies);
        if (e.closeAt > 0) // no tick may touch the closed socket
            QVERIFY(!rig.fakes.socket.isBound() && !rig.fakes.timer1->isEnabled());
    }

    void theSettingsLeaveEveryAdapterUntilAnAnswer_data()
    {
        // emptied: an octet box, -1 the port box, -2 none; result: the datagram, or the refusal
        Columns<bool, int, bool, QByteArray>("fixIp", "emptied", "answered", "result");
        const QByteArray dhcp("TAVIKwebserver|SetDHCP|\x12\x34\x56\x00\x51|", 29);
        const QByteArray fixIp("TAVIKwebserver|SetIP|"
                               "\x12\x34\x56\xC0\xA8\x01\x14\x00\x51\xFF\xFF\xFF\x00\xC0\xA8\x01\x01\x08\x08\x08\x08|",
                               43);
        const QByteArray address = "Please fill in all four numbers of the IP address.";
        QTest::newRow("DHCP, answered") << false << -2 << true << dhcp;
        QTest::newRow("Fix IP, an empty DNS box is sent as 0")
            << true << 12 << false << fixIp.chopped(5) + '\0' + "\x08\x08\x08|";
        QTest::newRow("Fix IP, empty last octet") << true << 3 << false << address;
        QTest::newRow("Fix IP, empty first octet") << true << 0 << false << address;
        QTest::newRow("Fix IP, empty port") << true << -1 << false << QByteArray("Please enter a port number.");
        QTest::newRow("DHCP, empty port") << false << -1 << false << QByteArray("Please enter a port number.");
    }
    void theSettingsLeaveEveryAdapterUntilAnAnswer()
    {
        QFETCH(bool, fixIp);
        QFETCH(int, emptied);
        QFETCH(bool, answered);
        QFETCH(QByteArray, result);
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        rig.listReplies({TavikReply({.host = "Hall\x80\x93", .mac = "00:08:DC:12:34:56"})});
        const Controls& c = rig.c();
        QVERIFY(c.txtServers->toPlainText().contains(QString::fromUtf8("Hall\u20ac\u201c"))); // the PC's code page
        WindowInput::Click(*c.cmdSetIP);
        QCOMPARE(c.fraSetIP->title(), QString("Set IP on 00:08:DC:12:34:56"));
        QVERIFY(c.fraSetIP->isVisible() && !c.txtServers->isEnabled() && !c.picRefresh->isEnabled());
        typeInto(rig, c.txtPort, "81");
        // Cancel keeps the edits for the next opening.
        WindowInput::Click(*c.cmdIPCancel);
        QVERIFY(c.fraSetIP->isHidden() && c.txtServers->isEnabled() && c.cmdReboot->isEnabled());
        WindowInput::Click(*c.cmdSetIP);
        WindowInput::Click(*c.optAutoIP[fixIp ? 1 : 0]);
        QCOMPARE(c.fraIP->isEnabled(), fixIp);
        for (int box = 12; box < 16; ++box)
            typeInto(rig, c.txtIPadres[box], "8");
        QLineEdit* empty = emptied == -2 ? nullptr : emptied == -1 ? c.txtPort : c.txtIPadres[emptied];
        if (empty)
            typeInto(rig, empty, "");
        if (answered)
            rig.fakes.socket.deliver(TavikReply({.mac = "00:08:DC:12:34:57"}), 0.5); // not listed yet
        QStringList status;
        for (double at : {1.2, 12.9})
            rig.fakes.time.schedule(at, [&] { status << c.labStatus->text(); });
        const double clicked = rig.fakes.time.elapsed();
        WindowInput::Click(*c.cmdIPOK);
        if (!result.startsWith("TAVIK")) { // refused: nothing sent, the caret waits in the empty box
            QVERIFY(std::ranges::none_of(rig.fakes.socket.sent, isSetup) && c.fraSetIP->isVisible()
                    && QApplication::focusWidget() == empty);
            QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{result.toStdString()});
            return;
        }
        std::vector<int> interfaces;
        for (const auto& copy : rig.fakes.socket.sent | std::views::filter(isSetup)) {
            QVERIFY(QByteArray::fromStdString(copy.bytes) == result && copy.host == "255.255.255.255");
            QCOMPARE(qRound(10 * (copy.at - clicked)), 10 * int(interfaces.size() / 2)); // a pair a second
            interfaces.push_back(copy.interfaceIndex);
        }
        QCOMPARE(interfaces, (answered ? std::vector<int>{2, 3} : std::vector<int>{2, 3, 2, 3, 2, 3}));
        QVERIFY(c.fraSetIP->isHidden());
        QCOMPARE(rig.fakes.time.elapsed() - clicked < 3.5, !answered);
        if (!answered)
            return;
        const QString rebooting = "IPsetup sent OK. Rebooting";
        QCOMPARE(status, (QStringList{rebooting, rebooting + QString("...").repeated(12)}));
        QCOMPARE(c.cmdReboot->text(), QString("Reboot"));
    }

    void setupRequests_data()
    {
        // values: the bytes between "TAVIKwebserver|SetDHCP|" or "...|SetIP|" and the closing "|", in hex
        Columns<std::string, QByteArray>("built", "values");
        QTest::newRow("port 60000, lower-case MAC hex")
            << SetDHCPRequest("60000", "00:08:dc:ab:cd:ef") << QByteArray("abcdefea60");
        QTest::newRow("empty port, MAC hex ends at a non-hex character")
            << SetDHCPRequest("", "00:08:DC:1G:G1:A-") << QByteArray("01000a0000");
        QTest::newRow("empty box 0, halves to the even neighbour")
            << SetIPRequest({"", "2.5", "3.5", "1", "255", "255", "255", "", "1", "1", "1", "1", "1", "1", "1", "1"},
                            "80", "00:08:DC:12:34:56")
            << QByteArray("123456000204010050ffffff000101010101010101");
        QTest::newRow("value bytes | and 0 not escaped")
            << SetIPRequest({"124", "0", "124", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "124"},
                            "124", "00:08:DC:7C:00:7c")
            << QByteArray("7c007c7c007c00007c00000000000000000000007c");
    }
    void setupRequests()
    {
        QFETCH(std::string, built);
        QFETCH(QByteArray, values);
        const bool dhcp = values.size() == 10;
        const QByteArray kind = dhcp ? "TAVIKwebserver|SetDHCP|" : "TAVIKwebserver|SetIP|";
        QCOMPARE(QByteArray::fromStdString(built).toHex(), kind.toHex() + values + "7c");
        // The simulator reads them back, value bytes equal to "|" too; anything but the exact layout is no request.
        QVERIFY(ParseSetIP(built).has_value() != dhcp && ParseSetDHCP(built).has_value() == dhcp);
        for (const std::string& bad : {built + '|', built.substr(0, built.size() - 1) + 'x', "tavik" + built.substr(5)})
            QVERIFY(!ParseSetIP(bad) && !ParseSetDHCP(bad));
    }
};

HOPTRACE_TEST(CommandsTest)
#include "CommandsTest.moc"
