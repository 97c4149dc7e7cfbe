#include "TestMain.h"

#include "fakes/WindowRig.h"

#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QSettings>

#include <algorithm>
#include <optional>

using namespace WindowInput;

namespace {
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

bool Closed(const QPointer<QDialog>& dialog) { return !dialog || !dialog->isVisible(); }

// Opens "Search addresses..." through the menu and types `entry` over what it shows, then
// Enter; the dialog, or nothing when it never opened.
std::optional<QPointer<QDialog>> EnterAddresses(WindowRig& rig, const QString& entry, QString* shownFirst = nullptr)
{
    if (ChooseFromMenu(*rig.c().txtServers->viewport(), "Search addresses...") != true)
        return std::nullopt;
    QPointer dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog)
        return std::nullopt;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        if (shownFirst && label->isVisible())
            *shownFirst += label->text() + '\n';
    Key(*dialog, Qt::Key_A, Qt::ControlModifier);
    Key(*dialog, Qt::Key_Backspace);
    Type(*dialog, entry);
    Key(*dialog, Qt::Key_Return);
    return dialog;
}
} // namespace

class SearchAddressesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QSettings().remove("search/addresses"); }

    // Each way of opening the menu offers the list's own items and the search by address; a right
    // click, on the first device's lines, reads no block: the selection stays with the second.
    void theMenuOpensEachWay_data()
    {
        const auto row = Columns<QString>("how");
        row("right click", "right click");
        row("Menu key", "Menu key");
        row("Shift+F10", "Shift+F10");
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
            const auto dialog = EnterAddresses(rig, "10.77.0.20, 10.78.0.0/30");
            QVERIFY2(dialog, "no dialog opened");
            QVERIFY2(Closed(*dialog), "the dialog refused the entry");
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
        const auto dialog = EnterAddresses(restarted, "", &shown);
        QVERIFY2(shown.contains("No device answered from these addresses in the last search."), qPrintable(shown));
        QVERIFY2(dialog, "no dialog opened");
        QVERIFY2(Closed(*dialog), "the dialog refused the empty entry");
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
        const auto dialog = EnterAddresses(rig, entry);
        QVERIFY2(dialog, "no dialog opened");
        QVERIFY2(!Closed(*dialog), "the dialog took the entry");
        QString shown;
        for (const QLabel* label : (*dialog)->findChildren<QLabel*>())
            shown += label->isVisible() ? label->text() + '\n' : QString();
        QVERIFY2(shown.contains(named), qPrintable(shown));
        rig.fakes.time.advance(5);
        QCOMPARE(rig.fakes.socket.sent.size(), sentBefore);
        QVERIFY(!QSettings().contains("search/addresses"));
        (*dialog)->close();
    }
};

HOPTRACE_TEST(SearchAddressesTest)
#include "SearchAddressesTest.moc"
