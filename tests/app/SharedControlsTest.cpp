#include "TestMain.h"
#include "fakes/EngineRig.h"

#include "app/StatusLine.h"
#include "app/SharedControls.h"
#include "controls/Controls.h"
#include "controls/PictureButton.h"
#include "controls/StatusShare.h"
#include "webserver/ServerList.h"
#include "webserver/ServerSelection.h"
#include "webserver/WebserverSession.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace {
const DeviceSelection kFixed{.ip = "10.0.0.5", .mac = "00:08:DC:00:00:05", .takesIpSettings = true};
const DeviceSelection kNoAddress{.ip = "", .mac = "00:08:DC:00:00:06", .takesIpSettings = true};

// The session as the window's controllers and the engine's run drive it, with the search
// running or not.
struct SessionRig : EngineRig {
    RecordingMessageBox messages{time};
    WebserverSession session{run, messages};
    bool searching = false;
};

// What the shared controls then show: whether Reboot, Set IP, the refresh symbol and the list
// are usable (1) or not (0), then Reboot's caption.
struct Story {
    const char* name;
    std::function<void(SessionRig&)> reports;
    const char* shown;
};
const Story kStories[] = {
    {"the next search withdraws both",
     [](SessionRig& r) { r.session.setSelection(kFixed), r.session.searchBegun(), r.session.listed(2); },
     "0011 Reboot"},
    {"a lone device without address keeps the caption of the one before",
     [](SessionRig& r) {
         r.session.setSelection(kFixed), r.session.searchBegun(), r.session.listed(1),
             r.session.setSelection(kNoAddress);
     },
     "0011 Reboot 10.0.0.5"},
    {"Cancel offers Reboot again after a listing withdrew it",
     [](SessionRig& r) {
         r.session.setSelection(kFixed), r.session.listed(2), r.session.openPanel(), r.session.cancelPanel();
     },
     "1111 Reboot"},
    {"a search keeps Reboot back", [](SessionRig& r) { r.session.setSelection(kFixed), r.searching = true; },
     "0001 Reboot 10.0.0.5"},
    {"the panel's OK keeps the list locked",
     [](SessionRig& r) {
         r.session.setSelection(kFixed), r.session.openPanel(), r.session.begin(DeviceCommand::IpSetup);
     },
     "0000 Reboot 10.0.0.5"},
    {"a device that took its settings is no longer named",
     [](SessionRig& r) {
         r.session.setSelection(kFixed), r.session.openPanel(), r.session.begin(DeviceCommand::IpSetup);
         Q_EMIT r.run.waitStarted(), Q_EMIT r.run.readyToCheck();
     },
     "0011 Reboot"},
};

// The status line while operations overlap: the shares' reports, then the text shown and its colour's name.
struct StatusShares {
    StatusShare search, command, gateway, selection;
};
struct StatusStory {
    const char* name;
    std::function<void(StatusShares&)> reports;
    const char* shown;
};
const StatusStory kStatusStories[] = {
    {"a search ending under the gateway sequence gives the line back, in red",
     [](StatusShares& s) {
         s.gateway.start(), s.gateway.setColour(Qt::red), s.gateway.show("Failed");
         s.search.start(), s.search.setColour(Qt::black), s.search.show("Searching...");
         s.search.end(), s.search.show("Please select");
     },
     "Failed #ff0000"},
    {"the dots extend only the search's own text",
     [](StatusShares& s) {
         s.search.start(), s.search.show("Searching..."), s.gateway.start(), s.gateway.show("Joining");
         s.search.extend("..."), s.gateway.end();
     },
     "Searching...... #000000"},
    {"an operation with no text yet gives way",
     [](StatusShares& s) { s.search.start(), s.search.show("Please select"), s.command.start(); },
     "Please select #000000"},
    {"a selection after every end has the last word",
     [](StatusShares& s) {
         s.command.start(), s.command.show("Sending Reboot.."), s.command.end(), s.selection.show("");
     },
     " #000000"},
};
} // namespace

// The rules of the shared controls, over changes of their owners that the window tests do not
// reach one by one.
class SharedControlsTest : public QObject {
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
        StatusShares shares;
        kStatusStories[story].reports(shares);
        const StatusLine::Shown line = StatusLine::Of(
            {&shares.search, &shares.command, &shares.gateway, &shares.selection});
        QCOMPARE(line.text + ' ' + line.colour.value_or(Qt::transparent).name(), kStatusStories[story].shown);
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
        SessionRig rig;
        QWidget window;
        const Controls c = BuildControls(&window);
        ServerList servers(*c.txtServers, rig.search.listing());
        ServerSelection list(WebserverControls::of(c), servers, rig.search, rig.session); // the list's own state
        s.reports(rig);
        SharedControls::apply({.searching = rig.searching,
                               .searchedOnce = true,
                               .session = rig.session,
                               .connectReady = std::nullopt,
                               .gatewayCaption = GatewayCaption::Designed,
                               .gatewayRunning = false,
                               .suggestionFor = std::nullopt,
                               .suggestionsOffered = true,
                               .status = {}},
                              WindowControls::of(c));
        QString shown;
        for (QWidget* control : std::initializer_list<QWidget*>{c.cmdReboot, c.cmdSetIP, c.picRefresh, c.txtServers})
            shown += control->isEnabled() ? '1' : '0';
        QCOMPARE(shown + ' ' + c.cmdReboot->text(), QString(s.shown));
    }
};

HOPTRACE_TEST(SharedControlsTest)
#include "SharedControlsTest.moc"
