#include "TestMain.h"

#include "fakes/EngineRig.h"
#include "fakes/WindowRig.h"

#include "app/SharedControls.h"
#include "app/StatusLine.h"
#include "controls/StatusShare.h"
#include "devices/DeviceSearch.h"
#include "webserver/ServerList.h"
#include "webserver/ServerSelection.h"
#include "webserver/WebserverSession.h"

#include <QAccessible>
#include <QRegularExpression>
#include <QScreen>

#include <set>

using WindowInput::Key;

namespace {
// Remembers which widget each mouse press reaches and swallows it, so that a probe triggers nothing.
class PressCatcher final : public QObject {
public:
    PressCatcher() { qApp->installEventFilter(this); }
    QWidget* reached = nullptr;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool press = event->type() == QEvent::MouseButtonPress;
        if ((!press && event->type() != QEvent::MouseButtonRelease) || !watched->isWidgetType())
            return false; // the window's own event goes on to Qt's hit test
        reached = press ? static_cast<QWidget*>(watched) : reached;
        return true;
    }
};

const std::string kList = "TAVIKwebserver|List|";

// The window after a search that found a device with DHCP and one with a fixed address, active.
void twoDevicesFound(WindowRig& rig)
{
    rig.listReplies({TavikReply(),
                     TavikReply({.mac = "00:08:DC:00:00:02", .assignment = "STATIC", .address = "192.168.1.21:8080"})});
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
}

QWidget* focused() { return QApplication::focusWidget(); }

int changedPixels(const QImage& a, const QImage& b)
{
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return changed;
}

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
    std::function<void(WebserverSession&, SessionRig&)> reports;
    const char* shown;
};
const Story kStories[] = {
    {"the next search withdraws both",
     [](WebserverSession& s, SessionRig&) { s.setSelection(kFixed), s.searchBegun(), s.listed(2); }, "0011 Reboot"},
    {"a lone device without address keeps the caption of the one before",
     [](WebserverSession& s, SessionRig&) {
         s.setSelection(kFixed), s.searchBegun(), s.listed(1), s.setSelection(kNoAddress);
     },
     "0011 Reboot 10.0.0.5"},
    {"Cancel offers Reboot again after a listing withdrew it",
     [](WebserverSession& s, SessionRig&) { s.setSelection(kFixed), s.listed(2), s.openPanel(), s.cancelPanel(); },
     "1111 Reboot"},
    {"a search keeps Reboot back",
     [](WebserverSession& s, SessionRig& r) { s.setSelection(kFixed), r.searching = true; }, "0001 Reboot 10.0.0.5"},
    {"the panel's OK keeps the list locked",
     [](WebserverSession& s, SessionRig&) { s.setSelection(kFixed), s.openPanel(), s.begin(DeviceCommand::IpSetup); },
     "0000 Reboot 10.0.0.5"},
    {"a device that took its settings is no longer named",
     [](WebserverSession& s, SessionRig& r) {
         s.setSelection(kFixed), s.openPanel(), s.begin(DeviceCommand::IpSetup);
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

class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void adaptersBecomeTabs_data()
    {
        const auto row = Columns<QStringList, int, bool>("addresses", "tabs", "portFree");
        row("adapter without address is left out", {"192.168.1.2", "0.0.0.0", "10.0.0.2"}, 2, true);
        row("empty address text qualifies", {""}, 1, true);
        row("tab and NUL padding cleaned", {QString::fromLatin1("192.168.\t1.2\0\0", 14)}, 1, true);
        row("no adapter with an address", {"0.0.0.0"}, 0, true);
        row("port 8080 in use", {"192.168.1.2"}, 1, false);
        row("thirteen adapters, all with a tab", QStringList(13, "10.0.1.2"), 13, true);
    }
    void adaptersBecomeTabs()
    {
        const auto [addresses, tabs, portFree] = Fetch<QStringList, int, bool>("addresses", "tabs", "portFree");
        WindowRig rig;
        rig.fakes.adapters.list.clear();
        for (const QString& address : addresses)
            rig.fakes.adapters.list.push_back({"eth", address.toStdString(), "255.255.255.0", "", 2});
        rig.fakes.socket.bindSucceeds = portFree;
        rig.load();
        const Controls& c = rig.c();
        QCOMPARE(c.TabNIC->count(), tabs);
        const QStringList stored = addresses.filter(QRegularExpression("^(?!0\\.0\\.0\\.0$)"));
        for (int i = 0; i < stored.size(); ++i)
            QCOMPARE(rig.window->adapterTable().find(i + 1)->ip,
                     QString(stored[i]).remove('\t').remove('\0').toStdString());
        // Without an adapter or the port no search starts and the window, gateway included, is usable.
        const bool searching = tabs > 0 && portFree;
        QCOMPARE(rig.window->search().ticking(), searching);
        QCOMPARE(rig.window->isEnabled(), !searching);
        QCOMPARE(c.cmdWiFiConnect->isEnabledTo(rig.window.get()), !searching);
        // At the next refresh a failing list keeps the tabs and starts no search; a freed port is used.
        rig.finishSearch();
        rig.fakes.adapters.fails = portFree;
        rig.fakes.socket.bindSucceeds = true;
        WindowInput::Click(*c.picRefresh);
        QCOMPARE(c.TabNIC->tabText(tabs - 1), tabs ? QString("NIC #%1").arg(tabs) : QString());
        QCOMPARE(rig.window->search().ticking(), !portFree);
    }

    void everyUsableControlTakesAClickAtItsCentre_data()
    {
        const auto row = Columns<int>("panel");
        row("one server", 0);
        row("IP setup, Fix IP", 1);
        row("Wi-Fi panel", 2);
    }
    void everyUsableControlTakesAClickAtItsCentre()
    {
        QFETCH(int, panel);
        WindowRig rig;
        rig.listReplies({TavikReply()});
        const Controls& c = rig.c();
        if (panel == 1) {
            WindowInput::Click(*c.cmdSetIP);
            WindowInput::Click(*c.optAutoIP[1]);
            QVERIFY(c.fraSetIP->isVisible());
        }
        QWidget& w = *rig.window;
        if (panel == 0) { // the window is narrowed at start: the Wi-Fi panel lies beyond its edge
            for (QWidget* beyond : std::initializer_list<QWidget*>{c.Frame1, c.lstSSID, c.fraVoorstel, c.picRescan})
                QVERIFY2(!w.rect().intersects(QRect(beyond->mapTo(&w, QPoint()), beyond->size())),
                         qPrintable(beyond->objectName()));
            for (const QWidget* hidden : std::initializer_list<const QWidget*>{c.cmdDefault, c.txtDNS, c.fraSetIP})
                QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName() + " shown"));
        }
        if (panel == 2)
            rig.showWifiPanel();
        PressCatcher catcher;
        QStringList reached, unreachable;
        for (QWidget* control : w.findChildren<QWidget*>()) {
            const bool takesInput = control->focusPolicy() != Qt::NoFocus || qobject_cast<PictureButton*>(control);
            const QPoint centre = control->mapTo(&w, control->rect().center());
            if (control->objectName().isEmpty() || !takesInput || !control->isVisible() || !control->isEnabled()
                || !w.rect().contains(centre))
                continue;
            const auto inside = [control](QWidget* at) { return at && (at == control || control->isAncestorOf(at)); };
            catcher.reached = nullptr;
            WindowInput::Click(*control);
            (inside(w.childAt(centre)) && inside(catcher.reached) ? reached : unreachable) << control->objectName();
        }
        QVERIFY(reached.size() > 5);
        QVERIFY2(unreachable.isEmpty(), qPrintable("not reachable: " + unreachable.join(", ")));
    }

    // The window closes at one moment of each kind of wait; whatever ran then ends within a
    // second and leaves nothing open: no socket, no timer, no list from a scan, no command left
    // running. (Closing during the gateway sequence: NmcliTest.)
    void closingEndsWhatRuns_data()
    {
        const auto row = Columns<QString>("closeIn");
        row("a search tick, after its first send", "tick");
        row("the scan's half-second wait", "scan");
        row("a ping's echo: its answer comes to no box", "ping");
    }
    void closingEndsWhatRuns()
    {
        QFETCH(QString, closeIn);
        WindowRig rig;
        rig.fakes.wlan.opens = true;
        rig.fakes.wlan.networks = {{"TAVIK-MUREL", 80}};
        rig.fakes.adapters.list.push_back({"eth", "10.0.0.2", "255.255.255.0", "", 3});
        double closedAt = -1;
        const auto close = [&] {
            closedAt = rig.fakes.time.elapsed();
            rig.window->close();
        };
        rig.fakes.socket.onSend = [&](const FakeUdpSocket::Sent&) {
            if (closeIn == "tick" && rig.fakes.socket.sent.size() == 1)
                close();
        };
        rig.listReplies({});
        if (closeIn != "tick") {
            rig.showWifiPanel();
            rig.fakes.echo.costSeconds = 1.0;
            rig.fakes.time.schedule(0.2, close);
            WindowInput::Click(closeIn == "scan" ? static_cast<QWidget&>(*rig.c().picRescan) : *rig.c().cmdPing);
            rig.finishOperation();
        }
        QVERIFY2(closedAt >= 0, "never closed");
        const double endedAfter = closeIn == "tick" ? 0.0 : rig.fakes.time.elapsed() - closedAt;
        QVERIFY2(endedAfter < 1.0, qPrintable(QString("ended %1 s after the close").arg(endedAfter)));
        QVERIFY(rig.window->isHidden());
        QVERIFY(!rig.fakes.socket.isBound());
        QVERIFY(!rig.window->search().ticking());
        QCOMPARE(rig.fakes.socket.sent.size() == 1, closeIn == "tick");
        QCOMPARE(rig.fakes.commands.runs.size(), 0u);
        QCOMPARE(rig.fakes.commands.cancels, 1);
        QCOMPARE(rig.c().lstSSID->count(), 0);
        rig.fakes.time.advance(1.0); // past the echo's answer
        QCOMPARE(rig.fakes.messages.shown.size(), 0u);
        QCOMPARE(rig.fakes.echo.asked.size(), closeIn == "ping" ? 1u : 0u);
    }

    // A ping and the gateway sequence started during the Reboot wait run beside it, neither
    // inside the other: the wait's dots come each second and its refresh at 12 s, while the
    // gateway sequence still runs; the search that ends meanwhile leaves the window busy.
    void independentOperationsOverlap()
    {
        WindowRig rig;
        rig.fakes.echo.costSeconds = 1.0; // the gateway never answers: 5 s of pings
        rig.listReplies({TavikReply()});
        rig.showWifiPanel();
        const Controls& c = rig.c();
        WindowInput::Retype(*rig.window, *c.txtIPtoPing, "192.168.1.77");
        const auto searching = [&] { return c.labStatus->text().startsWith("Searching"); };
        WindowInput::Click(*c.cmdReboot);
        QStringList dots;
        for (int second = 1; second <= 11; ++second)
            rig.fakes.time.schedule(second + 0.5, [&] { dots << QString::fromStdString(rig.serverText()); });
        rig.fakes.time.advance(1.0);
        WindowInput::Click(*c.cmdPing);
        rig.fakes.time.advance(1.0);
        WindowInput::Click(*c.cmdWiFiConnect);
        QVERIFY(!rig.window->isEnabled());
        rig.fakes.time.advance(9.9);
        QVERIFY(!searching());
        rig.fakes.time.advance(0.2);
        QVERIFY(searching()); // the refresh, on time
        for (int second = 1; second <= 11; ++second)
            QCOMPARE(dots.at(second - 1), "Rebooting" + QString("...").repeated(second));
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{"OK. 192.168.1.77 is free!"});
        QVERIFY(rig.window->operationRunning());
        // The sequence writes on while the later search runs: the line stays the search's.
        rig.fakes.time.advance(2.0);
        QVERIFY2(QRegularExpression("^Searching(\\.\\.\\.)+$").match(c.labStatus->text()).hasMatch(),
                 qPrintable(c.labStatus->text()));
        const auto status = [&] {
            return c.labStatus->text() + ' ' + c.labStatus->palette().color(QPalette::WindowText).name();
        };
        rig.fakes.time.advance(3.0); // the search has ended, the gateway sequence has not
        QVERIFY(!rig.window->search().ticking());
        QVERIFY(rig.window->operationRunning());
        QVERIFY(!rig.window->isEnabled());
        QCOMPARE(status(), c.labProgress->text() + " #000000");
        rig.finishOperation();
        QVERIFY(rig.window->isEnabled());
        QVERIFY(!rig.fakes.commands.runs.empty());
        QCOMPARE(status(), c.labProgress->text() + " #ff0000"); // the sequence ended last: its failure stays
    }

    void tabChainStaysInsideTheWindowAndShowsFocus_data()
    {
        const auto row = Columns<int>("step");
        row("a device selected by keypad Enter", 1);
        row("IP setup panel open, then Escape", 2);
    }
    void tabChainStaysInsideTheWindowAndShowsFocus()
    {
        QFETCH(int, step);
        WindowRig rig;
        twoDevicesFound(rig);
        QWidget& w = *rig.window;
        const Controls& c = rig.c();
        QCOMPARE(focused(), c.txtServers);
        Key(w, Qt::Key_End, Qt::ControlModifier);
        Key(w, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(c.cmdReboot->text(), QString("Reboot 192.168.1.21"));
        if (step == 2) {
            QVERIFY(WindowInput::TabTo(w, c.cmdSetIP));
            Key(w, Qt::Key_Space);
        }
        QVERIFY(w.frameGeometry().height() <= w.screen()->availableGeometry().height());
        // An unchecked option button is reached with the arrow keys from the checked one.
        QSet<QWidget*> usable;
        for (QWidget* control : w.findChildren<QWidget*>()) {
            auto* option = qobject_cast<QRadioButton*>(control);
            if (control->isVisible() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)
                && !(option && !option->isChecked()))
                usable << control;
        }
        QSet<QWidget*> visited;
        QWidget* const first = focused();
        do {
            QWidget* stop = focused();
            QVERIFY2(w.rect().contains(QRect(stop->mapTo(&w, QPoint()), stop->size())), qPrintable(stop->objectName()));
            visited << stop;
            const QImage withFocus = stop->grab().toImage();
            Key(w, Qt::Key_Tab);
            // More than a caret: at least a quarter of the widget's outline changes.
            QVERIFY2(changedPixels(stop->grab().toImage(), withFocus) >= (stop->width() + stop->height()) / 2,
                     qPrintable("no visible focus: " + stop->objectName()));
        } while (focused() != first && visited.size() < 80);
        QCOMPARE(visited, usable);
        if (step == 2) { // Escape cancels: nothing is sent and the focus comes back
            Key(w, Qt::Key_Escape);
            QVERIFY(c.fraSetIP->isHidden());
            QCOMPARE(focused(), c.cmdSetIP);
            QCOMPARE(rig.fakes.socket.sent.size(), std::size_t(rig.sentCount(kList)));
        }
    }

    void searchStartsFromThePictureBySpaceAndEnter()
    {
        WindowRig rig;
        twoDevicesFound(rig);
        QVERIFY(WindowInput::TabTo(*rig.window, rig.c().picRefresh));
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
            const int requests = rig.sentCount(kList);
            Key(*rig.window, key);
            rig.finishSearch();
            QVERIFY(rig.sentCount(kList) > requests);
            QCOMPARE(focused(), rig.c().picRefresh);
        }
    }

    void everyControlHasANameOfItsOwn()
    {
        WindowRig rig;
        rig.listReplies({TavikReply({.host = "\x80\x9F"})});
        std::set<std::pair<std::string_view, QString>> namesInGroup;
        for (const ControlSpec& spec : ControlTable()) {
            if (spec.kind == ControlKind::Label || spec.kind == ControlKind::Frame
                || spec.kind == ControlKind::Animation)
                continue;
            const QString name = QString::fromUtf8(spec.name.data(), qsizetype(spec.name.size()));
            const QString said =
                QAccessible::queryAccessibleInterface(rig.window->findChild<QWidget*>(name))->text(QAccessible::Name);
            QVERIFY2(!said.isEmpty(), qPrintable(name));
            QVERIFY2(!rig.window->findChild<QObject*>(said), qPrintable(name + " is called " + said));
            QVERIFY2(namesInGroup.insert({spec.parent, said}).second, qPrintable(name + " shares " + said));
        }
        // Device bytes reach assistive tools as the screen shows them: the PC's code page.
        QAccessibleTextInterface* list = QAccessible::queryAccessibleInterface(rig.c().txtServers)->textInterface();
        QVERIFY(list->text(0, list->characterCount()).contains(QStringLiteral("Host Name : \u20AC\u0178")));
    }

    // The rules of the shared controls, over changes of their owners that the window cases do not
    // reach one by one.
    void statusStories_data() { EntryRows(kStatusStories); }
    void statusStories()
    {
        QFETCH(int, entry);
        StatusShares shares;
        kStatusStories[entry].reports(shares);
        const StatusLine::Shown line = StatusLine::Of(
            {&shares.search, &shares.command, &shares.gateway, &shares.selection});
        QCOMPARE(line.text + ' ' + line.colour.value_or(Qt::transparent).name(), kStatusStories[entry].shown);
    }

    void stories_data() { EntryRows(kStories); }
    void stories()
    {
        QFETCH(int, entry);
        const Story& s = kStories[entry];
        SessionRig rig;
        QWidget window;
        const Controls c = BuildControls(&window);
        ServerList servers(*c.txtServers, rig.search.listing());
        ServerSelection list(WebserverControls::of(c), servers, rig.search, rig.session); // the list's own state
        s.reports(rig.session, rig);
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

HOPTRACE_TEST(WindowTest)
#include "WindowTest.moc"
