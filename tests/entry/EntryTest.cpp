#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <memory>

// The octet boxes and the port box of the IP setup panel, opened on the lone webserver
// with Fix IP chosen, and used by keyboard and mouse.
class EntryTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowRig> rig_;

    QLineEdit& box(int i) const { return *rig_->c().txtIPadres[i]; }
    QLineEdit& port() const { return *rig_->c().txtPort; }
    // One part of each box of the row holding `anyBox`, joined by "/".
    QString row(int anyBox, QString (QLineEdit::*part)() const = &QLineEdit::text) const
    {
        QStringList parts;
        for (int i = anyBox / 4 * 4; i < anyBox / 4 * 4 + 4; ++i)
            parts << (box(i).*part)();
        return parts.join(QLatin1Char('/'));
    }
    void setRow(int anyBox, const QString& texts)
    {
        const QStringList parts = texts.split(QLatin1Char('/'));
        for (int k = 0; k < 4; ++k)
            box(anyBox / 4 * 4 + k).setText(parts[k]);
    }
    int focusedBox() const
    {
        const auto& boxes = rig_->c().txtIPadres;
        return int(std::find(boxes.begin(), boxes.end(), QApplication::focusWidget()) - boxes.begin());
    }
    // A left click, then the queued work the click leaves behind.
    static void click(const QWidget& widget)
    {
        WindowInput::Click(widget);
        QCoreApplication::processEvents();
    }
    // Key presses to whichever widget holds the focus: a character is typed, "{Shift+Home}" is one key.
    void keys(const QString& keys) const
    {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (keys[i] != QLatin1Char('{')) {
                WindowInput::Type(*rig_->window, keys.mid(i, 1));
                continue;
            }
            const qsizetype close = keys.indexOf(QLatin1Char('}'), i);
            const QKeyCombination key = QKeySequence::fromString(keys.mid(i + 1, close - i - 1))[0];
            WindowInput::Key(*rig_->window, key.key(), key.keyboardModifiers());
            i = close;
        }
    }

private Q_SLOTS:
    void init()
    {
        rig_ = std::make_unique<WindowRig>();
        rig_->listReplies({TavikReply()});
        click(*rig_->c().cmdSetIP);
        click(*rig_->c().optAutoIP[1]);
    }
    void cleanup() { rig_.reset(); }

    void typing_data()
    {
        Columns<int, QString, QString, QString, int, QString>("startBox", "rowBefore", "keys", "rowAfter",
                                                              "focusAfter", "selectedAfter");
        const QString empty = QStringLiteral("///");
        QTest::newRow("1 9 2 moves on, next octet selected") << 0 << "/45//" << "192" << "192/45//" << 1 << "/45//";
        QTest::newRow("1 0 . moves on") << 0 << empty << "10." << "10///" << 1 << empty;
        QTest::newRow("3 0 0 in third octet: 255 selected") << 10 << empty << "300" << "//255/" << 11 << "//255/";
        QTest::newRow("2 5 5 in box 3 empties") << 3 << empty << "255" << empty << 3 << empty;
        QTest::newRow("2 5 6 in box 11 empties") << 11 << empty << "256" << empty << 11 << empty;
        QTest::newRow("2 5 4 stays in box 7") << 7 << empty << "254" << "///254" << 7 << empty;
        QTest::newRow(". in box 15 dropped") << 15 << "///4" << "." << "///4" << 15 << "///4";
        QTest::newRow("letters, blank, minus dropped") << 1 << empty << "1a Z-2" << "/12//" << 1 << empty;
        QTest::newRow("Backspace, Home, Delete pass") << 1 << empty << "12{Backspace}3{Home}{Del}" << "/3//" << 1
                                                      << empty;
        QTest::newRow("Ctrl+A, Ctrl+X pass") << 1 << empty << "12{Ctrl+A}{Ctrl+X}" << empty << 1 << empty;
        QTest::newRow("Ctrl+C, Ctrl+V pass") << 1 << empty << "12{Ctrl+A}{Ctrl+C}{End}{Ctrl+V}" << "/121//" << 1
                                             << empty;
        QTest::newRow("address typed over a filled row") << 0 << "10/77/0/20" << "10.77.0.77" << "10/77/0/77" << 3
                                                         << empty;
        QTest::newRow("dot after the advance is the same dot") << 0 << empty << "192.168.1.20" << "192/168/1/20"
                                                               << 3 << empty;
        QTest::newRow("second dot after the advance moves on") << 0 << empty << "192..5" << "192//5/" << 2 << empty;
        QTest::newRow("Shift before the dot keeps the grace") << 0 << empty << "192{Shift}." << "192///" << 1
                                                              << empty;
        QTest::newRow("arrow after the advance ends the grace") << 0 << empty << "192{Left}." << "192///" << 2
                                                                << empty;
    }
    void typing()
    {
        QFETCH(int, startBox);
        QFETCH(QString, rowBefore);
        QFETCH(QString, keys);
        setRow(startBox, rowBefore);

        click(box(startBox));
        this->keys(keys);

        QTEST(row(startBox), "rowAfter");
        QTEST(focusedBox(), "focusAfter");
        QTEST(row(startBox, &QLineEdit::selectedText), "selectedAfter");
    }

    void typingOverAFilledRow_data()
    {
        // How box 1 got the focus: Tab, click, or the advance from box 0. Whatever fills the box,
        // a digit replacing its selected text starts a new octet; the third digit it will hold moves on.
        Columns<QString, QString, QString, QString, int>("enteredBy", "rowBefore", "keys", "rowAfter", "focusAfter");
        for (const QString by : {"{Tab}", "click", "123"}) {
            const QByteArray n = by.toLatin1();
            QTest::newRow(n + ", 1 digit, two typed") << by << "123/5/6/7" << "12" << "123/12/6/7" << 1;
            QTest::newRow(n + ", 2 digits, 192 typed") << by << "123/10/6/7" << "192" << "123/192/6/7" << 2;
            QTest::newRow(n + ", 3 digits, one typed") << by << "123/456/6/7" << "4" << "123/4/6/7" << 1;
            QTest::newRow(n + ", dotted address typed") << by << "123/10/10/20" << "77.0.77" << "123/77/0/77" << 3;
        }
    }
    void typingOverAFilledRow()
    {
        QFETCH(QString, enteredBy);
        QFETCH(QString, rowBefore);
        QFETCH(QString, keys);
        setRow(0, rowBefore);
        click(enteredBy == "click" ? box(1) : box(0));
        if (enteredBy != "click")
            this->keys(enteredBy);
        QCOMPARE(focusedBox(), 1);

        this->keys(keys);

        QTEST(row(0), "rowAfter");
        QTEST(focusedBox(), "focusAfter");
    }

    void writes_data()
    {
        // Written by the program into the boxes from firstBox on, or pasted into firstBox.
        Columns<int, QString, QString, QString, QString>("firstBox", "written", "pasted", "rowAfter", "selectedAfter");
        QTest::newRow("mask written") << 4 << "255/255/255/0" << "" << "255/255/255/0" << "///";
        QTest::newRow("last octet 255 written") << 8 << "192/168/1/255" << "" << "192/168/1/" << "///";
        QTest::newRow("written pieces cut to 3") << 12 << "1234/5/6/1234" << "" << "123/5/6/123" << "///";
        QTest::newRow("-5 pasted into box 1") << 1 << "" << "-5" << "/255//" << "/255//";
        QTest::newRow("-5 pasted into box 3") << 3 << "" << "-5" << "///" << "///";
    }
    void writes()
    {
        QFETCH(int, firstBox);
        QFETCH(QString, written);
        QFETCH(QString, pasted);
        setRow(firstBox, written.isEmpty() ? QStringLiteral("///") : written);
        if (!pasted.isEmpty()) {
            click(box(firstBox));
            QGuiApplication::clipboard()->setText(pasted);
            keys(QStringLiteral("{Ctrl+V}"));
        }
        QTEST(row(firstBox), "rowAfter");
        QTEST(row(firstBox, &QLineEdit::selectedText), "selectedAfter");
    }

    void clickSelection_data()
    {
        Columns<QString>("focusBy");
        QTest::newRow("click from the box before") << "";
        QTest::newRow("Tab") << "{Tab}";
        QTest::newRow("third-digit advance") << "192";
    }
    void clickSelection()
    {
        QFETCH(QString, focusBy);
        box(5).setText(QStringLiteral("123"));
        click(box(4));
        keys(focusBy);
        if (!focusBy.isEmpty()) {
            QCOMPARE(focusedBox(), 5);
            QCOMPARE(box(5).selectedText(), QStringLiteral("123"));
        }
        // The first click after the focus keeps the whole content selected, later ones place the caret.
        for (const bool selected : {true, false, false}) {
            click(box(5));
            QCOMPARE(focusedBox(), 5);
            QCOMPARE(box(5).hasSelectedText(), selected);
        }
    }

    void portRules_data()
    {
        Columns<QString, QString, QString, QString>("written", "keys", "text", "selected"); // written before the keys
        QTest::newRow("60000 typed stays") << "" << "60000" << "60000" << "";
        QTest::newRow("60001 typed falls back") << "" << "60001" << "8080" << "8080";
        QTest::newRow("99999 typed falls back") << "" << "99999" << "8080" << "8080";
        QTest::newRow("sixth digit refused") << "" << "123456" << "12345" << "";
        QTest::newRow("letters, minus, dot, blank dropped") << "" << "8a0-8.0 x" << "8080" << "";
        QTest::newRow("emptied box stays empty") << "" << "80{Backspace}{Backspace}" << "" << "";
        QTest::newRow("Ctrl+A, Ctrl+X, Ctrl+V pass") << "808" << "{Ctrl+A}{Ctrl+X}1{Ctrl+V}" << "1808" << "";
        QTest::newRow("65535 written falls back") << "65535" << "" << "8080" << "8080";
        QTest::newRow("negative written falls back") << "-5" << "" << "8080" << "8080";
    }
    void portRules()
    {
        QFETCH(QString, written);
        QFETCH(QString, keys);
        click(port());
        if (!written.isEmpty())
            port().setText(written);
        this->keys(keys);

        QTEST(port().text(), "text");
        QTEST(port().selectedText(), "selected");
    }

    void everyPortClickSelectsAll()
    {
        for (const QString& before : {QString(), QString(), QStringLiteral("{End}")}) {
            keys(before);
            click(port());
            QCOMPARE(QApplication::focusWidget(), &port());
            QCOMPARE(port().selectedText(), QStringLiteral("80"));
        }
    }
};

HOPTRACE_TEST(EntryTest)
#include "EntryTest.moc"
