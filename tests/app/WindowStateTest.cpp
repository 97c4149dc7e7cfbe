#include "TestMain.h"

#include "app/WindowMode.h"
#include "app/WindowState.h"
#include "controls/Controls.h"
#include "controls/PictureButton.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace {
const DeviceSelection kFixed{.ip = "10.0.0.5", .mac = "00:08:DC:00:00:05", .takesIpSettings = true};
const DeviceSelection kNoAddress{.ip = "", .mac = "00:08:DC:00:00:06", .takesIpSettings = true};

// Reports as the subsystems send them, and what the shared controls then show: whether Reboot, Set IP,
// the refresh symbol, the list and the gateway's button are usable (1) or not (0), then Reboot's caption.
struct Story {
    const char* name;
    std::function<void(WindowMode&)> reports;
    const char* shown;
};
const Story kStories[] = {
    {"a search offers the gateway whatever the boxes held",
     [](WindowMode& m) { m.connectReadinessJudged(false), m.searchBegun(), m.searchEnded(); }, "00111 Reboot"},
    {"boxes judged after the search decide",
     [](WindowMode& m) { m.searchBegun(), m.searchEnded(), m.connectReadinessJudged(false); }, "00110 Reboot"},
    {"the next search withdraws both",
     [](WindowMode& m) { m.serverSelected(kFixed), m.searchBegun(), m.serversListed(2), m.searchEnded(); },
     "00111 Reboot"},
    {"a lone device without address keeps the caption of the one before",
     [](WindowMode& m) {
         m.serverSelected(kFixed), m.searchBegun(), m.serversListed(1), m.serverSelected(kNoAddress);
         m.searchEnded();
     },
     "00111 Reboot 10.0.0.5"},
    {"Cancel offers Reboot again after a listing withdrew it",
     [](WindowMode& m) { m.serverSelected(kFixed), m.serversListed(2), m.ipPanelOpened(), m.ipPanelCancelled(); },
     "11110 Reboot"},
    {"the panel's OK keeps the list locked",
     [](WindowMode& m) { m.serverSelected(kFixed), m.ipPanelOpened(), m.commandStarted(DeviceCommand::IpSetup); },
     "00000 Reboot 10.0.0.5"},
    {"a device that took its settings is no longer named",
     [](WindowMode& m) {
         m.serverSelected(kFixed), m.ipPanelOpened(), m.commandStarted(DeviceCommand::IpSetup);
         m.deviceRebooting(), m.commandEnded();
     },
     "00110 Reboot"},
};

// The status line while operations overlap: the reports, then the text shown and its colour's name.
using S = StatusSource;
struct StatusStory {
    const char* name;
    std::function<void(StatusLine&)> reports;
    const char* shown;
};
const StatusStory kStatusStories[] = {
    {"a search ending under the gateway sequence gives the line back, in red",
     [](StatusLine& l) {
         l.started(S::Gateway), l.setColour(S::Gateway, Qt::red), l.show(S::Gateway, "Failed");
         l.started(S::Search), l.setColour(S::Search, Qt::black), l.show(S::Search, "Searching...");
         l.ended(S::Search), l.show(S::Search, "Please select");
     },
     "Failed #ff0000"},
    {"the dots extend only the search's own text",
     [](StatusLine& l) {
         l.started(S::Search), l.show(S::Search, "Searching..."), l.started(S::Gateway), l.show(S::Gateway, "Joining");
         l.extend(S::Search, "..."), l.ended(S::Gateway);
     },
     "Searching...... #000000"},
    {"an operation with no text yet gives way",
     [](StatusLine& l) { l.started(S::Search), l.show(S::Search, "Please select"), l.started(S::Command); },
     "Please select #000000"},
};
} // namespace

// The rule table of the shared controls, over mode changes the window tests do not reach
// one by one.
class WindowStateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusStories_data()
    {
        Columns<int>("story");
        for (int i = 0; i < int(std::size(kStatusStories)); ++i)
            Row(kStatusStories[i].name, i);
    }
    void statusStories()
    {
        QFETCH(int, story);
        StatusLine line;
        kStatusStories[story].reports(line);
        QCOMPARE(line.text() + ' ' + line.colour().value_or(Qt::transparent).name(), kStatusStories[story].shown);
    }

    void stories_data()
    {
        Columns<int>("story");
        for (int i = 0; i < int(std::size(kStories)); ++i)
            Row(kStories[i].name, i);
    }
    void stories()
    {
        QFETCH(int, story);
        const Story& s = kStories[story];
        QWidget window;
        const Controls c = BuildControls(&window);
        WindowMode mode;
        s.reports(mode);
        WindowState::apply(mode, c);
        QString shown;
        for (QWidget* control :
             std::initializer_list<QWidget*>{c.cmdReboot, c.cmdSetIP, c.picRefresh, c.txtServers, c.cmdWiFiConnect})
            shown += control->isEnabled() ? '1' : '0';
        QCOMPARE(shown + ' ' + c.cmdReboot->text(), QString(s.shown));
    }
};

HOPTRACE_TEST(WindowStateTest)
#include "WindowStateTest.moc"
