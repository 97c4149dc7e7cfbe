#include "TestMain.h"

#include "fakes/WindowRig.h"

#include <QAccessible>
#include <QScreen>

#include <set>

using WindowInput::Key;

namespace {
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
} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

HOPTRACE_TEST(KeyboardTest)
#include "KeyboardTest.moc"
