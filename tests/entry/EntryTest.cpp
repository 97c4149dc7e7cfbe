#include "TestMain.h"

#include "fakes/WindowRig.h"

#include <QClipboard>
#include <QKeySequence>
#include <QRegularExpression>

#include <algorithm>

// The octet boxes and the port box of the IP setup panel, opened on the lone webserver
// with Fix IP chosen, used by keyboard and mouse.
class EntryTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowRig> rig_;

    QLineEdit& box(int i) const { return *rig_->c().txtIPadres[i]; }
    QLineEdit& port() const { return *rig_->c().txtPort; }
    // One part of the port box ("P"), or of each box of the row holding octet box `target`, joined by "/".
    QString read(const QString& target, QString (QLineEdit::*part)() const = &QLineEdit::text) const
    {
        if (target == QLatin1String("P"))
            return (port().*part)();
        QStringList parts;
        for (int i = target.toInt() / 4 * 4; i < target.toInt() / 4 * 4 + 4; ++i)
            parts << (box(i).*part)();
        return parts.join(QLatin1Char('/'));
    }
    // The widget with the focus: octet box 0..15, or 16 for the port box.
    int focused() const
    {
        const auto& boxes = rig_->c().txtIPadres;
        const auto found = std::find(boxes.begin(), boxes.end(), QApplication::focusWidget()) - boxes.begin();
        return QApplication::focusWidget() == &port() ? 16 : int(found);
    }
    // Input to the window: "[5]" clicks octet box 5 and "[P]" the port box (each followed by the
    // work the click queues), "{Shift+Home}" is one key press, any other character is typed.
    void input(const QString& keys) const
    {
        static const QRegularExpression token(QStringLiteral(R"(\[(\w+)\]|\{([^}]+)\}|.)"));
        for (const QRegularExpressionMatch& m : token.globalMatch(keys)) {
            if (m.hasCaptured(1)) {
                WindowInput::Click(m.captured(1) == QLatin1String("P") ? port() : box(m.captured(1).toInt()));
                QCoreApplication::processEvents();
            } else if (m.hasCaptured(2)) {
                const QKeyCombination key = QKeySequence::fromString(m.captured(2))[0];
                WindowInput::Key(*rig_->window, key.key(), key.keyboardModifiers());
            } else {
                WindowInput::Type(*rig_->window, m.captured(0));
            }
        }
    }

private Q_SLOTS:
    void init()
    {
        rig_ = std::make_unique<WindowRig>();
        rig_->listReplies({TavikReply()});
        WindowInput::Click(*rig_->c().cmdSetIP);
        WindowInput::Click(*rig_->c().optAutoIP[1]);
        QGuiApplication::clipboard()->setText(QStringLiteral("-5")); // what a paste brings
    }
    void cleanup() { rig_.reset(); }

    // The first box clicked, or its row of octet boxes, is written (by the program) before the input
    // and read after it.
    void boxes_data()
    {
        const auto row = Columns<QString, QString, QString, int, QString>("input", "before", "after", "focusAfter",
                                                                          "selectedAfter");
        const QString none = QStringLiteral("///");
        row("1 9 2 moves on, next octet selected", "[0]192", "/45//", "192/45//", 1, "/45//");
        row("3 0 0 in third octet: 255 selected", "[10]300", none, "//255/", 11, "//255/");
        row("2 5 5 in box 3 empties", "[3]255", none, none, 3, none);
        row("2 5 6 in box 11 empties", "[11]256", none, none, 11, none);
        row("2 5 4 stays in box 7", "[7]254", none, "///254", 7, none);
        row(". in box 15 dropped", "[15].", "///4", "///4", 15, "///4");
        row("letters, blank, minus dropped", "[1]1a Z-2", none, "/12//", 1, none);
        row("Backspace, Home, Delete pass", "[1]12{Backspace}3{Home}{Del}", none, "/3//", 1, none);
        row("Ctrl+A, Ctrl+X pass", "[1]12{Ctrl+A}{Ctrl+X}", none, none, 1, none);
        row("Ctrl+C, Ctrl+V pass", "[1]12{Ctrl+A}{Ctrl+C}{End}{Ctrl+V}", none, "/121//", 1, none);
        row("-5 pasted into box 1", "[1]{Ctrl+V}", none, "/255//", 1, "/255//");
        row("-5 pasted into box 3", "[3]{Ctrl+V}", none, none, 3, none);
        row("address typed over a filled row", "[0]10.77.0.77", "10/77/0/20", "10/77/0/77", 3, none);
        row("dot after the advance is the same dot", "[0]192.168.1.20", none, "192/168/1/20", 3, none);
        row("second dot after the advance moves on", "[0]192..5", none, "192//5/", 2, none);
        row("Shift before the dot keeps the grace", "[0]192{Shift}.", none, "192///", 1, none);
        row("arrow after the advance ends the grace", "[0]192{Left}.", none, "192///", 2, none);
        row("mask written", "[4]", "255/255/255/0", "255/255/255/0", 4, "255///");
        row("last octet 255 written", "[8]", "192/168/1/255", "192/168/1/", 8, "192///");
        row("written pieces cut to 3", "[12]", "1234/5/6/1234", "123/5/6/123", 12, "123///");
        // The first click after the focus keeps the whole content selected, later ones place the caret.
        for (const QString focus : {"[4][5]", "[4]{Tab}[5]", "[4]192[5]"}) {
            row(qPrintable(focus + ": first click"), focus, "192/123//", "192/123//", 5, "/123//");
            row(qPrintable(focus + ": second click"), focus + "[5]", "192/123//", "192/123//", 5, none);
        }
        // Whatever fills box 1 and however it got the focus, a digit replacing its selected text
        // starts a new octet, and the third digit it will hold moves on.
        for (const QString focus : {"[0]{Tab}", "[1]", "[0]123"}) {
            const QByteArray n = focus.toLatin1();
            row(n + " 1 digit, two typed", focus + "12", "123/5/6/7", "123/12/6/7", 1, none);
            row(n + " 2 digits, 192 typed", focus + "192", "123/10/6/7", "123/192/6/7", 2, "//6/");
            row(n + " 3 digits, one typed", focus + "4", "123/456/6/7", "123/4/6/7", 1, none);
            row(n + " address typed", focus + "77.0.77", "123/10/10/20", "123/77/0/77", 3, none);
        }
        row("port: every click selects all", "[P]{End}[P]", "80", "80", 16, "80");
        row("port: 60000 typed stays", "[P]60000", "", "60000", 16, "");
        row("port: 60001 typed falls back", "[P]60001", "", "8080", 16, "8080");
        row("port: sixth digit refused", "[P]123456", "", "12345", 16, "");
        row("port: letters, minus, dot, blank dropped", "[P]8a0-8.0 x", "", "8080", 16, "");
        row("port: emptied box stays empty", "[P]80{Backspace}{Backspace}", "", "", 16, "");
        row("port: Ctrl+A, Ctrl+X, Ctrl+V pass", "[P]{Ctrl+A}{Ctrl+X}1{Ctrl+V}", "808", "1808", 16, "");
        row("port: 65535 written falls back", "[P]", "65535", "8080", 16, "8080");
        row("port: negative written falls back", "[P]", "-5", "8080", 16, "8080");
    }
    void boxes()
    {
        const auto [input, before] = Fetch<QString, QString>("input", "before");
        const QString target = input.mid(1, input.indexOf(QLatin1Char(']')) - 1);
        if (target == QLatin1String("P"))
            port().setText(before);
        for (int k = 0; k < 4 && target != QLatin1String("P"); ++k)
            box(target.toInt() / 4 * 4 + k).setText(before.split(QLatin1Char('/'))[k]);
        this->input(input);
        QTEST(read(target), "after");
        QTEST(focused(), "focusAfter");
        QTEST(read(target, &QLineEdit::selectedText), "selectedAfter");
    }
};

HOPTRACE_TEST(EntryTest)
#include "EntryTest.moc"
