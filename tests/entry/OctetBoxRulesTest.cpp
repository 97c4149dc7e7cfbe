#include "TestMain.h"

#include "EntryKeys.h"
#include "EntryPanel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace EntryKeys;

class OctetBoxRulesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<EntryPanel> panel_;

    QLineEdit& box(int i) const { return *panel_->boxes[i]; }
    QString rowTexts(int anyBoxOfRow) const { return Texts(&panel_->boxes[anyBoxOfRow / 4 * 4], 4); }
    void fillRow(int anyBoxOfRow, const QString& slashTexts)
    {
        const QStringList texts = slashTexts.split(QLatin1Char('/'));
        for (int k = 0; k < texts.size(); ++k)
            box(anyBoxOfRow / 4 * 4 + k).setText(texts[k]);
    }
    // The way FillAddressRow writes a dotted address into a row.
    void writeAddress(int firstBox, const QString& address)
    {
        for (int k = 0; k < 4; ++k)
            box(firstBox + k).setText(QStringLiteral("0"));
        const QStringList pieces = address.split(QLatin1Char('.'));
        for (int k = 0; k < pieces.size(); ++k)
            box(firstBox + k).setText(pieces[k]);
    }
    int focusedBox() const
    {
        for (int i = 0; i < OctetBoxRules::BoxCount; ++i) {
            if (QApplication::focusWidget() == panel_->boxes[i])
                return i;
        }
        return -1;
    }

private Q_SLOTS:
    void init()
    {
        panel_ = std::make_unique<EntryPanel>();
        panel_->show();
        QVERIFY(QTest::qWaitForWindowActive(panel_.get()));
        panel_->elsewhere->setFocus(Qt::OtherFocusReason);
    }
    void cleanup() { panel_.reset(); }

    void typing_data()
    {
        QTest::addColumn<int>("startBox");
        QTest::addColumn<QString>("rowBefore");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("rowAfter");
        QTest::addColumn<int>("focusAfter");

        QTest::newRow("1 9 2 then focus on next octet") << 0 << "" << "192" << "192///" << 1;
        QTest::newRow("1 0 and dot move on") << 0 << "" << "10." << "10///" << 1;
        QTest::newRow("dot in empty box moves on") << 1 << "" << "." << "///" << 2;
        QTest::newRow("third octet advances to last") << 2 << "" << "100" << "//100/" << 3;
        QTest::newRow("3 0 0 moves on, clamps to 255") << 0 << "" << "300" << "255///" << 1;
        QTest::newRow("9 9 9 in third octet") << 10 << "" << "999" << "//255/" << 11;
        QTest::newRow("two selected digits replaced, still moves on") << 0 << "12///" << "3" << "3///" << 1;
        for (const int last : {3, 7, 11, 15}) {
            const QByteArray n = QByteArray::number(last);
            QTest::newRow("2 5 5 in box " + n) << last << "" << "255" << "///" << last;
            QTest::newRow("2 5 6 in box " + n) << last << "" << "256" << "///" << last;
            QTest::newRow("dot in box " + n) << last << "///4" << "." << "///4" << last;
        }
        QTest::newRow("254 allowed in last box") << 3 << "" << "254" << "///254" << 3;
        QTest::newRow("third digit in last box stays") << 7 << "" << "12" "3" << "///123" << 7;
        QTest::newRow("fourth digit refused") << 15 << "" << "1234" << "///123" << 15;
        QTest::newRow("letters, blank, minus dropped") << 1 << "" << "a Z-+,x" << "///" << 1;
        QTest::newRow("dropped between digits") << 1 << "" << "1a-2" << "/12//" << 1;
        QTest::newRow("whole dotted address") << 0 << "" << "192.168.1.20" << "192/168/1/20" << 3;
        QTest::newRow("short octets with dots") << 4 << "" << "10.0.0.1" << "10/0/0/1" << 7;
        QTest::newRow("second dot after advance moves on") << 0 << "" << "192..5" << "192//5/" << 2;
    }
    void typing()
    {
        QFETCH(int, startBox);
        QFETCH(QString, rowBefore);
        QFETCH(QString, keys);
        QFETCH(QString, rowAfter);
        QFETCH(int, focusAfter);

        if (!rowBefore.isEmpty())
            fillRow(startBox, rowBefore);
        box(startBox).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(keys);

        QCOMPARE(rowTexts(startBox), rowAfter);
        QCOMPARE(focusedBox(), focusAfter);
    }

    void advanceSelectsNextOctet()
    {
        fillRow(0, QStringLiteral("/45//"));
        box(0).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(QStringLiteral("192"));
        QCOMPARE(focusedBox(), 1);
        QCOMPARE(box(1).selectedText(), QStringLiteral("45"));
        QCOMPARE(panel_->pendingSelectBox, 1);
        // The first digit replaces the two selected ones and already moves on.
        TypeIntoFocus(QStringLiteral("1"));
        QCOMPARE(rowTexts(0), QStringLiteral("192/1//"));
        QCOMPARE(focusedBox(), 2);
    }

    void digitReplacesSelectionAndMovesOn_data()
    {
        QTest::addColumn<QString>("selecting");
        QTest::addColumn<QString>("text");
        QTest::newRow("caret only") << "Left" << "152";
        QTest::newRow("last digit, caret at its start") << "Shift+Left" << "15";
        QTest::newRow("both digits, caret at start") << "Shift+Home" << "5";
        QTest::newRow("first digit, caret at its end") << "Home, Shift+Right" << "52";
    }
    void digitReplacesSelectionAndMovesOn()
    {
        QFETCH(QString, selecting);
        QFETCH(QString, text);

        box(8).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(QStringLiteral("12"));
        SequenceIntoFocus(selecting);
        TypeIntoFocus(QStringLiteral("5"));

        QCOMPARE(box(8).text(), text);
        QCOMPARE(focusedBox(), 9);
    }

    void dotAfterAdvanceWithShiftHeld()
    {
        box(0).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(QStringLiteral("192"));
        QTest::keyPress(&box(1), Qt::Key_Shift);
        QTest::keyClick(&box(1), Qt::Key_Period, Qt::ShiftModifier);
        QTest::keyRelease(&box(1), Qt::Key_Shift);
        QCOMPARE(focusedBox(), 1);
        // Any other key ends the grace: the next "." moves on again.
        QTest::keyClick(&box(1), Qt::Key_Left);
        TypeIntoFocus(QStringLiteral("."));
        QCOMPARE(focusedBox(), 2);
    }

    void clampedValueStaysSelected()
    {
        box(0).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(QStringLiteral("300"));
        QCOMPARE(box(0).selectedText(), QStringLiteral("255"));
    }

    void editingKeys_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");

        QTest::newRow("Backspace") << "Backspace" << "1" << "";
        QTest::newRow("Enter") << "Return" << "12" << "";
        QTest::newRow("Ctrl+A") << "Ctrl+A" << "12" << "12";
        QTest::newRow("Ctrl+X") << "Ctrl+A, Ctrl+X" << "" << "";
        QTest::newRow("Ctrl+C and Ctrl+V") << "Ctrl+A, Ctrl+C, End, Backspace, Ctrl+V" << "112" << "";
        QTest::newRow("Ctrl+Z dropped") << "Backspace, Ctrl+Z" << "1" << "";
        QTest::newRow("Home and Delete") << "Home, Del" << "2" << "";
        QTest::newRow("arrow and Backspace") << "Left, Backspace" << "2" << "";
        QTest::newRow("Shift+Home") << "Shift+Home" << "12" << "12";
    }
    void editingKeys()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, text);
        QFETCH(QString, selected);

        box(1).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(QStringLiteral("12"));
        SequenceIntoFocus(sequence);

        QCOMPARE(box(1).text(), text);
        QCOMPARE(box(1).selectedText(), selected);
        QCOMPARE(focusedBox(), 1);
    }

    void enterReachesTheBox()
    {
        QSignalSpy returns(&box(2), &QLineEdit::returnPressed);
        box(2).setFocus(Qt::TabFocusReason);
        QTest::keyClick(&box(2), Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
    }

    void programWrites_data()
    {
        QTest::addColumn<int>("firstBox");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("rowAfter");

        QTest::newRow("mask") << 4 << "255.255.255.0" << "255/255/255/0";
        QTest::newRow("address") << 0 << "192.168.1.20" << "192/168/1/20";
        QTest::newRow("last octet 255") << 0 << "192.168.1.255" << "192/168/1/";
        QTest::newRow("broadcast gateway") << 8 << "255.255.255.255" << "255/255/255/";
        QTest::newRow("pieces cut to 3") << 12 << "1234.5.6.1234" << "123/5/6/123";
        QTest::newRow("above 255") << 0 << "300.1.2.999" << "255/1/2/";
        QTest::newRow("negative") << 4 << "-1.2.3.-4" << "255/2/3/";
        QTest::newRow("no dot") << 8 << "10" << "10/0/0/0";
        QTest::newRow("reply tail kept as far as it fits") << 4 << "255.255.255.0\r\nGateway" << "255/255/255/0\r\n";
        QTest::newRow("reply tail after 3 digits dropped") << 8 << "192.168.1.254\r\nDNS" << "192/168/1/254";
    }
    void programWrites()
    {
        QFETCH(int, firstBox);
        QFETCH(QString, address);
        QFETCH(QString, rowAfter);

        writeAddress(firstBox, address);
        QCOMPARE(rowTexts(firstBox), rowAfter);
    }

    void pasting_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");

        QTest::newRow("-5 in box 1") << 1 << "-5" << "255" << "255";
        QTest::newRow("-5 in box 3") << 3 << "-5" << "" << "";
        QTest::newRow("cut to 3") << 0 << "1234" << "123" << "";
        QTest::newRow("cut, then above 255") << 0 << "2999" << "255" << "255";
        QTest::newRow("255 in last box") << 15 << "255" << "" << "";
        QTest::newRow("dotted address") << 0 << "192.168.1.1" << "192" << "";
        QTest::newRow("not a number stays") << 2 << "abc" << "abc" << "";
    }
    void pasting()
    {
        QFETCH(int, index);
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        QFETCH(QString, selected);

        box(index).setFocus(Qt::TabFocusReason);
        PasteIntoFocus(clipboard);

        QCOMPARE(box(index).text(), text);
        QCOMPARE(box(index).selectedText(), selected);
        QCOMPARE(focusedBox(), index);
    }

    void clickSelection_data()
    {
        QTest::addColumn<QString>("focusBy");
        QTest::newRow("click from elsewhere") << "click";
        QTest::newRow("Tab") << "tab";
        QTest::newRow("third-digit advance") << "advance";
    }
    void clickSelection()
    {
        QFETCH(QString, focusBy);
        box(5).setText(QStringLiteral("123"));

        if (focusBy == QLatin1String("tab")) {
            box(4).setFocus(Qt::TabFocusReason);
            QTest::keyClick(&box(4), Qt::Key_Tab);
        } else if (focusBy == QLatin1String("advance")) {
            box(4).setFocus(Qt::TabFocusReason);
            TypeIntoFocus(QStringLiteral("192"));
        }
        if (focusBy != QLatin1String("click")) {
            QCOMPARE(focusedBox(), 5);
            QCOMPARE(box(5).selectedText(), QStringLiteral("123"));
            QCOMPARE(panel_->pendingSelectBox, 5);
        }

        Click(box(5));
        QCOMPARE(focusedBox(), 5);
        QCOMPARE(box(5).selectedText(), QStringLiteral("123"));
        QCOMPARE(panel_->pendingSelectBox, -1);

        Click(box(5));
        QVERIFY(!box(5).hasSelectedText());
        Click(box(5));
        QVERIFY(!box(5).hasSelectedText());
    }
};

HOPTRACE_TEST(OctetBoxRulesTest)
#include "OctetBoxRulesTest.moc"
