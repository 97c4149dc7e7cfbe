#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "webserver/Search.h"

#include "controls/PictureButton.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
const std::string kReboot = "TAVIKwebserver|Reboot|";
const std::string kDefault = "TAVIKwebserver|Default|";

// The three commands that send to one webserver; IP setup sends from its panel's OK.
struct Command {
    const char* name;
    QPushButton* Controls::*button;
    bool opensPanel;
};
const Command kCommands[] = {{"Reboot", &Controls::cmdReboot, false},
                             {"Load defaults", &Controls::cmdDefault, false},
                             {"IP setup", &Controls::cmdIPOK, true}};

int dots(const std::string& text, const std::string& after)
{
    return static_cast<int>((text.size() - after.size()) / 3);
}
} // namespace

class CommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rebootGoesTwiceToTheServerThenRefreshes()
    {
        WindowRig rig;
        rig.listReplies({TavikReply()}); // one webserver, selected at once
        const int searchesBefore = rig.fakes.adapters.calls;
        const std::size_t sentBefore = rig.fakes.socket.sent.size();
        std::string midway;
        rig.fakes.time.schedule(5.5, [&] {
            midway = rig.serverText();
            QCOMPARE(rig.c().labStatus->text(), QString("Sending Reboot.."));
            QVERIFY(!rig.c().picRefresh->isEnabled());
            QVERIFY(!rig.c().cmdSetIP->isEnabled());
        });
        WindowInput::Click(*rig.c().cmdReboot);

        const auto& sent = rig.fakes.socket.sent;
        QCOMPARE(sent.size() - sentBefore >= 2, true);
        QCOMPARE(sent[sentBefore].bytes, kReboot);
        QCOMPARE(sent[sentBefore + 1].bytes, kReboot);
        for (std::size_t i = sentBefore; i < sentBefore + 2; ++i) {
            QCOMPARE(sent[i].host, std::string("192.168.1.20"));
            QCOMPARE(sent[i].port, std::uint16_t(8080));
        }
        QCOMPARE(rig.sentCount(kReboot), 2);
        QCOMPARE(midway.substr(0, 9), std::string("Rebooting"));
        QCOMPARE(dots(midway, "Rebooting"), 5);
        // After twelve seconds the refresh has started a new search.
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QVERIFY(rig.fakes.timer1->isEnabled());
        QCOMPARE(rig.c().labStatus->text(), QString("Searching..."));
    }

    void loadDefaultsSendsOnceAndKeepsTheStatusLine()
    {
        WindowRig rig;
        rig.listReplies({TavikReply()});
        std::string beforeRefresh;
        rig.fakes.time.schedule(11.9, [&] { beforeRefresh = rig.serverText(); });
        // No code ever shows or enables the button; the command is still there.
        rig.c().cmdDefault->setEnabled(true);
        rig.c().cmdDefault->show();
        WindowInput::Click(*rig.c().cmdDefault);
        QCOMPARE(rig.sentCount(kDefault), 1);
        for (const auto& sent : rig.fakes.socket.sent)
            if (sent.bytes == kDefault)
                QCOMPARE(sent.host, std::string("192.168.1.20"));
        QCOMPARE(beforeRefresh.substr(0, 20), std::string("Restoring defaults.."));
        QCOMPARE(dots(beforeRefresh, "Restoring defaults.."), 12);
        QCOMPARE(rig.window->search().count(), 0); // the refresh reset it
    }

    void aReplyDuringTheWaitIsListedButCannotBeSelected()
    {
        WindowRig rig;
        rig.listReplies({TavikReply()});
        ReplyFields other;
        other.mac = "00:08:DC:00:00:42";
        rig.fakes.socket.deliver(TavikReply(other), 2.5);
        std::string seen;
        bool enabledByClick = true;
        rig.fakes.time.schedule(4.5, [&] {
            seen = rig.serverText();
            rig.clickServerListAt(seen.find("00:08:DC:00:00:42"));
            enabledByClick = rig.c().cmdReboot->isEnabled() || rig.c().cmdSetIP->isEnabled();
        });
        WindowInput::Click(*rig.c().cmdReboot);
        QCOMPARE(seen, "Rebooting......\r\n\r\n" + TavikReply(other) + "......");
        QVERIFY(!enabledByClick);
        QCOMPARE(rig.window->state().selectedMac, std::string("00:08:DC:00:00:01"));
    }

    void closingDuringTheWaitEndsItWithoutRefresh()
    {
        WindowRig rig;
        rig.listReplies({TavikReply()});
        const int searchesBefore = rig.fakes.adapters.calls;
        const double started = rig.fakes.time.elapsed();
        rig.fakes.time.schedule(3.0, [&] { rig.window->close(); });
        WindowInput::Click(*rig.c().cmdReboot);
        QVERIFY(rig.fakes.time.elapsed() - started < 4.0);
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore);
        QVERIFY(!rig.fakes.socket.isBound());
        QVERIFY(!rig.fakes.timer1->isEnabled());
    }

    void startedJustAfterMidnightRefreshesAtOnce()
    {
        WindowRig rig(86395.0);
        rig.listReplies({TavikReply()});
        rig.fakes.time.advance(86400.3 - 86395.0 - rig.fakes.time.elapsed());
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*rig.c().cmdReboot);
        QCOMPARE(rig.serverText(), std::string(""));
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
    }

    void aRefusedSendIsReportedOnceAndTheSearchFollows_data()
    {
        QTest::addColumn<int>("command");
        for (int command = 0; command < int(std::size(kCommands)); ++command)
            QTest::newRow(kCommands[command].name) << command;
    }

    void aRefusedSendIsReportedOnceAndTheSearchFollows()
    {
        QFETCH(int, command);
        const Command& row = kCommands[command];
        WindowRig rig;
        rig.listReplies({TavikReply()});
        if (row.button == &Controls::cmdDefault) { // nothing in the window shows or enables it
            rig.c().cmdDefault->setEnabled(true);
            rig.c().cmdDefault->show();
        }
        if (row.opensPanel)
            WindowInput::Click(*rig.c().cmdSetIP);
        rig.fakes.socket.sendSucceeds = false;
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*(rig.c().*row.button));
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{"Network error!"});
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
    }
};

HOPTRACE_TEST(CommandsTest)
#include "CommandsTest.moc"
