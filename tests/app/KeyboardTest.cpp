#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/ControlTable.h"
#include "controls/PictureButton.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <map>

using WindowInput::Key;

namespace {
const ReplyFields kFirst{.host = "WS-A", .mac = "00:08:DC:00:00:01", .address = "192.168.1.20:80"};
const ReplyFields kSecond{
    .host = "WS-B", .mac = "00:08:DC:00:00:02", .assignment = "STATIC", .address = "192.168.1.21:8080"};

// The window after a search that found both devices, active and taking keys.
void twoDevicesFound(WindowRig& rig)
{
    rig.load();
    rig.fakes.socket.deliver(TavikReply(kFirst), 0.4);
    rig.fakes.socket.deliver(TavikReply(kSecond), 0.6);
    rig.finishSearch();
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
}

QWidget* focused() { return QApplication::focusWidget(); }

// Tabs until `target` has the focus; false when the chain never gets there.
bool tabTo(QWidget& window, QWidget* target)
{
    for (int press = 0; press < 60 && focused() != target; ++press)
        Key(window, Qt::Key_Tab);
    return focused() == target;
}

// Pixels that differ between two grabs of one widget.
int changedPixels(const QImage& a, const QImage& b)
{
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return changed;
}
} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tabChainStaysInsideTheWindowAndShowsFocus_data()
    {
        Columns<int>("step");
        QTest::newRow("after the search") << 0;
        QTest::newRow("a device selected by keypad Enter") << 1;
        QTest::newRow("IP setup panel open after Enter") << 2;
    }
    void tabChainStaysInsideTheWindowAndShowsFocus()
    {
        QFETCH(int, step);
        WindowRig rig;
        twoDevicesFound(rig);
        QWidget& w = *rig.window;
        QCOMPARE(focused(), rig.c().txtServers);
        if (step >= 1) {
            // Enter, or keypad Enter, selects the block under the caret and the list marks it.
            Key(w, Qt::Key_End, Qt::ControlModifier);
            step == 1 ? Key(w, Qt::Key_Enter, Qt::KeypadModifier) : Key(w, Qt::Key_Return);
            QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot 192.168.1.21"));
            const auto marks = rig.c().txtServers->extraSelections();
            QCOMPARE(marks.size(), 1);
            const QString marked = marks[0].cursor.selectedText();
            QVERIFY2(marked.contains("00:08:DC:00:00:02") && !marked.contains(":01"), qPrintable(marked));
        }
        if (step >= 2) {
            QVERIFY(tabTo(w, rig.c().cmdSetIP));
            Key(w, Qt::Key_Space);
            QCOMPARE(focused(), rig.c().optAutoIP[1]); // the device has a fixed address
        }
        QVERIFY(w.frameGeometry().height() <= w.screen()->availableGeometry().height());
        QSet<QWidget*> usable;
        for (QWidget* control : w.findChildren<QWidget*>())
            if (control->isVisible() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus))
                usable << control;

        QSet<QWidget*> visited;
        QWidget* const first = focused();
        do {
            QWidget* stop = focused();
            QVERIFY2(w.rect().contains(QRect(stop->mapTo(&w, QPoint(0, 0)), stop->size())),
                     qPrintable(stop->objectName()));
            visited << stop;
            const QImage withFocus = stop->grab().toImage();
            Key(w, Qt::Key_Tab);
            // More than a caret: at least a quarter of the widget's outline changes.
            QVERIFY2(changedPixels(stop->grab().toImage(), withFocus) >= (stop->width() + stop->height()) / 2,
                     qPrintable("no visible focus: " + stop->objectName()));
        } while (focused() != first && visited.size() < 80);
        // An unchecked option button is reached with the arrow keys from the checked one.
        for (QWidget* control : usable)
            if (auto* option = qobject_cast<QRadioButton*>(control); option && !option->isChecked())
                usable.remove(control);
        QCOMPARE(visited, usable);
    }

    void searchStartsFromTheKeyboard_data()
    {
        Columns<int, bool>("key", "onPicture");
        QTest::newRow("F5 in the list") << int(Qt::Key_F5) << false;
        QTest::newRow("Space on the picture") << int(Qt::Key_Space) << true;
        QTest::newRow("Enter on the picture") << int(Qt::Key_Return) << true;
    }
    void searchStartsFromTheKeyboard()
    {
        QFETCH(int, key);
        QFETCH(bool, onPicture);
        WindowRig rig;
        twoDevicesFound(rig);
        if (onPicture)
            QVERIFY(tabTo(*rig.window, rig.c().picRefresh));
        QWidget* before = focused();
        const int requests = rig.sentCount("TAVIKwebserver|List|");
        Key(*rig.window, Qt::Key(key));
        QVERIFY(!rig.window->isEnabled());
        rig.finishSearch();
        QVERIFY(rig.sentCount("TAVIKwebserver|List|") > requests);
        QCOMPARE(focused(), before);
    }

    void ipSetupPanelTakesEscapeAndEnter()
    {
        WindowRig rig;
        twoDevicesFound(rig);
        QWidget& w = *rig.window;
        const Controls& c = rig.c();
        Key(w, Qt::Key_Home, Qt::ControlModifier);
        Key(w, Qt::Key_Down);
        Key(w, Qt::Key_Return);
        QVERIFY(tabTo(w, c.cmdSetIP));
        Key(w, Qt::Key_Space);
        QCOMPARE(focused(), c.optAutoIP[0]);
        Key(w, Qt::Key_Escape);
        QVERIFY(c.fraSetIP->isHidden());
        QCOMPARE(focused(), c.cmdSetIP);
        QCOMPARE(rig.fakes.socket.sent.size(), std::size_t(rig.sentCount("TAVIKwebserver|List|")));
        // Enter is OK; the tests on the simulated LAN follow it through.
        Key(w, Qt::Key_Space);
        Key(w, Qt::Key_Return);
        QVERIFY(c.fraSetIP->isHidden());
        QVERIFY(rig.sentCount(std::string("TAVIKwebserver|SetDHCP|\x00\x00\x01\x00\x50|", 29)) > 0);
    }

    void everyControlHasANameOfItsOwn()
    {
        WindowRig rig;
        ReplyFields odd = kFirst;
        odd.host = "\x80\x9F";
        rig.load();
        rig.fakes.socket.deliver(TavikReply(odd), 0.4);
        rig.finishSearch();
        std::map<std::string_view, QSet<QString>> namesInGroup;
        for (const ControlSpec& spec : ControlTable()) {
            if (spec.kind == ControlKind::Label || spec.kind == ControlKind::Frame
                || spec.kind == ControlKind::Animation)
                continue;
            const QString name = QString::fromUtf8(spec.name.data(), qsizetype(spec.name.size()));
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(
                rig.window->findChild<QWidget*>(name));
            const QString said = control->text(QAccessible::Name);
            QVERIFY2(!said.isEmpty(), qPrintable(name));
            QVERIFY2(!rig.window->findChild<QObject*>(said), qPrintable(name + " is called " + said));
            QVERIFY2(!namesInGroup[spec.parent].contains(said), qPrintable(name + " shares " + said));
            namesInGroup[spec.parent] << said;
        }
        // Device bytes reach assistive tools as the screen shows them: the PC's code page.
        QAccessibleTextInterface* list = QAccessible::queryAccessibleInterface(rig.c().txtServers)->textInterface();
        const QString spoken = list->text(0, list->characterCount());
        QVERIFY(spoken.contains(QStringLiteral("Host Name : \u20AC\u0178")));
    }
};

HOPTRACE_TEST(KeyboardTest)
#include "KeyboardTest.moc"
