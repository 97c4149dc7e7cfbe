#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"
#include "webserver/Search.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const std::string kReboot = "TAVIKwebserver|Reboot|";

// Reboot, Load defaults, or the IP setup panel's OK (opened first).
enum Command { Reboot, LoadDefaults, IpSetup };

void selectOne(WindowRig& rig, const std::string& mac = "00:08:DC:12:34:56")
{
    ReplyFields f;
    f.mac = mac;
    rig.listReplies({TavikReply(f)});
}

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
    text.isEmpty() ? WindowInput::Key(*rig.window, Qt::Key_Backspace) : WindowInput::Type(*rig.window, text);
}

std::vector<FakeUdpSocket::Sent> setupCopies(const WindowRig& rig)
{
    std::vector<FakeUdpSocket::Sent> copies;
    for (const auto& sent : rig.fakes.socket.sent)
        if (sent.bytes.starts_with("TAVIKwebserver|Set"))
            copies.push_back(sent);
    return copies;
}
} // namespace

class CommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rebootSendsTwiceAndSelectsNothingDuringItsWait()
    {
        WindowRig rig;
        selectOne(rig);
        ReplyFields other;
        other.mac = "00:08:DC:00:00:42";
        rig.fakes.socket.deliver(TavikReply(other), 2.5);
        std::string seen;
        bool enabledDuringWait = true;
        rig.fakes.time.schedule(4.5, [&] {
            seen = rig.serverText();
            QCOMPARE(rig.c().labStatus->text(), QString("Sending Reboot.."));
            rig.clickServerListAt(seen.find("00:08:DC:00:00:42"));
            enabledDuringWait = rig.c().cmdReboot->isEnabled() || rig.c().cmdSetIP->isEnabled()
                || rig.c().picRefresh->isEnabled();
        });
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*rig.c().cmdReboot);

        // A dot row a second, and the answer listed without a numbered heading.
        QCOMPARE(seen, "Rebooting......\r\n\r\n" + TavikReply(other) + "......");
        QVERIFY(!enabledDuringWait);
        QCOMPARE(rig.window->state().selectedMac, std::string("00:08:DC:12:34:56"));
        QCOMPARE(rig.sentCount(kReboot), 2);
        for (const auto& sent : rig.fakes.socket.sent)
            if (sent.bytes == kReboot)
                QVERIFY(sent.host == "192.168.1.20" && sent.port == 8080);
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QVERIFY(rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.c().labStatus->text(), QString("Searching..."));
    }

    void loadDefaultsSendsOnceAndCountsTwelveSeconds()
    {
        WindowRig rig;
        selectOne(rig);
        std::string beforeRefresh;
        rig.fakes.time.schedule(11.9, [&] { beforeRefresh = rig.serverText(); });
        run(rig, LoadDefaults);
        QCOMPARE(rig.sentCount("TAVIKwebserver|Default|"), 1);
        QCOMPARE(beforeRefresh, "Restoring defaults.." + std::string(36, '.'));
        QCOMPARE(rig.window->search().count(), 0); // the refresh reset it
    }

    void aRefusedSendIsReportedOnceAndTheSearchFollows_data()
    {
        Columns<int>("command");
        QTest::newRow("Reboot") << int(Reboot);
        QTest::newRow("Load defaults") << int(LoadDefaults);
        QTest::newRow("IP setup") << int(IpSetup);
    }
    void aRefusedSendIsReportedOnceAndTheSearchFollows()
    {
        QFETCH(int, command);
        WindowRig rig;
        selectOne(rig);
        rig.fakes.socket.sendSucceeds = false;
        const int searchesBefore = rig.fakes.adapters.calls;
        run(rig, Command(command));
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{"Network error!"});
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
    }

    void closingDuringAWaitEndsItWithoutSearch_data()
    {
        Columns<int, bool, double>("command", "answered", "closeAt");
        QTest::newRow("Reboot") << int(Reboot) << false << 3.0;
        QTest::newRow("IP setup, sending") << int(IpSetup) << false << 1.5;
        QTest::newRow("IP setup, reboot wait") << int(IpSetup) << true << 5.0;
    }
    void closingDuringAWaitEndsItWithoutSearch()
    {
        QFETCH(int, command);
        QFETCH(bool, answered);
        QFETCH(double, closeAt);
        WindowRig rig;
        selectOne(rig);
        if (answered)
            rig.fakes.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:99"}), 0.2);
        rig.fakes.time.schedule(closeAt, [&] { rig.window->close(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        const double clicked = rig.fakes.time.elapsed();
        run(rig, Command(command));
        QVERIFY(rig.fakes.time.elapsed() - clicked < closeAt + 0.5);
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore);
        QVERIFY(!rig.fakes.socket.isBound());
        QVERIFY(!rig.fakes.timer1->isEnabled());
    }

    void justAfterMidnightTheSearchFollowsAtOnce_data()
    {
        Columns<int>("command");
        QTest::newRow("Reboot") << int(Reboot);
        QTest::newRow("IP setup") << int(IpSetup);
    }
    void justAfterMidnightTheSearchFollowsAtOnce()
    {
        QFETCH(int, command);
        WindowRig rig(86395.0);
        selectOne(rig);
        rig.fakes.time.advance(86400.3 - 86395.0 - rig.fakes.time.elapsed());
        const int searchesBefore = rig.fakes.adapters.calls;
        run(rig, Command(command));
        QVERIFY(rig.fakes.time.elapsed() < 5.5);
        QVERIFY(setupCopies(rig).empty());
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
    }

    void theSetupPanelOpensFilledAndCancelKeepsTheEdits()
    {
        WindowRig rig;
        selectOne(rig);
        const Controls& c = rig.c();
        WindowInput::Click(*c.cmdSetIP);
        QCOMPARE(c.fraSetIP->title(), QString("Set IP on 00:08:DC:12:34:56"));
        QVERIFY(c.fraSetIP->isVisible() && !c.txtServers->isEnabled() && !c.picRefresh->isEnabled());
        QVERIFY(!c.fraIP->isEnabled()); // DHCP selected
        WindowInput::Click(*c.optAutoIP[1]);
        QVERIFY(c.fraIP->isEnabled());
        typeInto(rig, c.txtPort, "81");
        WindowInput::Click(*c.cmdIPCancel);
        QVERIFY(c.fraSetIP->isHidden() && c.txtServers->isEnabled() && c.cmdReboot->isEnabled());
        WindowInput::Click(*c.cmdSetIP);
        QCOMPARE(c.txtPort->text(), QString("81"));
        QVERIFY(setupCopies(rig).empty());
    }

    void withoutAnswerThreeCopiesLeaveEveryAdapter_data()
    {
        Columns<bool, QByteArray>("fixIp", "expected");
        QTest::newRow("DHCP") << false << QByteArray("TAVIKwebserver|SetDHCP|\x12\x34\x56\x00\x50|", 29);
        QTest::newRow("fixed address") << true
                                       << QByteArray("TAVIKwebserver|SetIP|\x12\x34\x56\xC0\xA8\x01\x14\x00\x50"
                                                     "\xFF\xFF\xFF\x00\xC0\xA8\x01\x01\x08\x08\x08\x08|",
                                                     43);
    }
    void withoutAnswerThreeCopiesLeaveEveryAdapter()
    {
        QFETCH(bool, fixIp);
        QFETCH(QByteArray, expected);
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        if (fixIp)
            WindowInput::Click(*rig.c().optAutoIP[1]);
        for (int box = 12; box < 16; ++box)
            typeInto(rig, rig.c().txtIPadres[box], "8");
        const int searchesBefore = rig.fakes.adapters.calls;
        const double clicked = rig.fakes.time.elapsed();
        WindowInput::Click(*rig.c().cmdIPOK);
        std::vector<int> interfaces;
        for (const auto& copy : setupCopies(rig)) {
            QCOMPARE(QByteArray::fromStdString(copy.bytes), expected);
            QCOMPARE(copy.host, std::string("255.255.255.255"));
            QCOMPARE(copy.at - clicked, double(interfaces.size() / 2)); // a pair a second
            interfaces.push_back(copy.interfaceIndex);
        }
        QCOMPARE(interfaces, (std::vector<int>{2, 3, 2, 3, 2, 3}));
        QVERIFY(rig.fakes.messages.shown.empty());
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QVERIFY(rig.fakes.time.elapsed() - clicked < 3.5);
        QVERIFY(rig.c().fraSetIP->isHidden());
    }

    void anAnswerStopsTheCopiesAndShowsTheRebootWait()
    {
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        rig.fakes.socket.deliver(TavikReply({.mac = "00:08:DC:12:34:57"}), 0.5); // not listed yet
        QString atOneSecond, atTwelve;
        rig.fakes.time.schedule(1.2, [&] { atOneSecond = rig.c().labStatus->text(); });
        rig.fakes.time.schedule(12.9, [&] { atTwelve = rig.c().labStatus->text(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*rig.c().cmdIPOK);
        QCOMPARE(setupCopies(rig).size(), std::size_t(1));
        QCOMPARE(atOneSecond, QString("IPsetup sent OK. Rebooting"));
        QCOMPARE(atTwelve, "IPsetup sent OK. Rebooting" + QString("...").repeated(12));
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot"));
    }

    void anEmptyAddressOrPortBoxIsRefused_data()
    {
        Columns<bool, int, QString>("fixIp", "emptied", "message"); // emptied: an octet box, -1 the port box
        const QString address = "Please fill in all four numbers of the IP address.";
        const QString port = "Please enter a port number.";
        QTest::newRow("Fix IP, last octet") << true << 3 << address;
        QTest::newRow("Fix IP, first octet") << true << 0 << address;
        QTest::newRow("Fix IP, port") << true << -1 << port;
        QTest::newRow("DHCP, port") << false << -1 << port;
        QTest::newRow("Fix IP, DNS box is sent as 0") << true << 15 << "";
    }
    void anEmptyAddressOrPortBoxIsRefused()
    {
        QFETCH(bool, fixIp);
        QFETCH(int, emptied);
        QFETCH(QString, message);
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        WindowInput::Click(*rig.c().optAutoIP[fixIp ? 1 : 0]);
        QLineEdit* box = emptied < 0 ? rig.c().txtPort : rig.c().txtIPadres[emptied];
        typeInto(rig, box, "");
        QCOMPARE(box->text(), QString());
        WindowInput::Click(*rig.c().cmdIPOK);
        QCOMPARE(setupCopies(rig).empty(), !message.isEmpty());
        if (message.isEmpty())
            return;
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{message.toStdString()});
        QVERIFY(rig.c().fraSetIP->isVisible());
        QCOMPARE(QApplication::focusWidget(), box);
    }
};

HOPTRACE_TEST(CommandsTest)
#include "CommandsTest.moc"
