#include "TestMain.h"

#include "EntryRig.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

class OctetBoxRulesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<EntryPanel> panel_;

    QLineEdit& box(int i) const { return *panel_->boxes[i]; }
    // One part of each box of the row holding `anyBox`, joined by "/".
    QString row(int anyBox, QString (QLineEdit::*part)() const = &QLineEdit::text) const
    {
        QStringList parts;
        for (int i = anyBox / 4 * 4; i < anyBox / 4 * 4 + 4; ++i)
            parts << (box(i).*part)();
        return parts.join(QLatin1Char('/'));
    }
    int focusedBox() const
    {
        return int(std::find(panel_->boxes.begin(), panel_->boxes.end(), QApplication::focusWidget())
                   - panel_->boxes.begin());
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
        QTest::addColumn<QString>("selectedAfter");

        QTest::newRow("1 9 2 moves on, next octet selected") << 0 << "/45//"
                                                             << "192"
                                                             << "192/45//" << 1 << "/45//";
        QTest::newRow("1 0 . moves on") << 0 << ""
                                        << "10."
                                        << "10///" << 1 << "///";
        QTest::newRow("3 0 0 in third octet: 255 selected") << 10 << ""
                                                            << "300"
                                                            << "//255/" << 11 << "//255/";
        QTest::newRow("2 5 5 in box 3 empties") << 3 << ""
                                                << "255"
                                                << "///" << 3 << "///";
        QTest::newRow("2 5 6 in box 11 empties") << 11 << ""
                                                 << "256"
                                                 << "///" << 11 << "///";
        QTest::newRow("2 5 4 stays in box 7") << 7 << ""
                                              << "254"
                                              << "///254" << 7 << "///";
        QTest::newRow(". in box 15 dropped") << 15 << "///4"
                                             << "."
                                             << "///4" << 15 << "///4";
        QTest::newRow("letters, blank, minus dropped") << 1 << ""
                                                       << "1a Z-2"
                                                       << "/12//" << 1 << "///";
        QTest::newRow("Backspace, Home, Delete pass") << 1 << ""
                                                      << "12{Backspace}3{Home}{Del}"
                                                      << "/3//" << 1 << "///";
        QTest::newRow("Enter passes") << 1 << ""
                                      << "12{Return}"
                                      << "/12//" << 1 << "///";
        QTest::newRow("Ctrl+A, Ctrl+X pass") << 1 << ""
                                             << "12{Ctrl+A}{Ctrl+X}"
                                             << "///" << 1 << "///";
        QTest::newRow("Ctrl+C, Ctrl+V pass") << 1 << ""
                                             << "12{Ctrl+A}{Ctrl+C}{End}{Ctrl+V}"
                                             << "/121//" << 1 << "///";
        QTest::newRow("address typed over a filled row") << 0 << "10/77/0/20"
                                                         << "10.77.0.77"
                                                         << "10/77/0/77" << 3 << "///";
        QTest::newRow("dot after the advance is the same dot") << 0 << ""
                                                               << "192.168.1.20"
                                                               << "192/168/1/20" << 3 << "///";
        QTest::newRow("second dot after the advance moves on") << 0 << ""
                                                               << "192..5"
                                                               << "192//5/" << 2 << "///";
        QTest::newRow("Shift before the dot keeps the grace") << 0 << ""
                                                              << "192{Shift}."
                                                              << "192///" << 1 << "///";
        QTest::newRow("arrow after the advance ends the grace") << 0 << ""
                                                                << "192{Left}."
                                                                << "192///" << 2 << "///";
    }
    void typing()
    {
        QFETCH(int, startBox);
        QFETCH(QString, rowBefore);
        QFETCH(QString, keys);
        const QStringList before = rowBefore.split(QLatin1Char('/'));
        for (int k = 0; k < before.size(); ++k)
            box(startBox / 4 * 4 + k).setText(before[k]);
        QSignalSpy returns(&box(startBox), &QLineEdit::returnPressed);

        box(startBox).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(keys);

        QTEST(row(startBox), "rowAfter");
        QTEST(focusedBox(), "focusAfter");
        QTEST(row(startBox, &QLineEdit::selectedText), "selectedAfter");
        QCOMPARE(returns.count(), keys.count(QStringLiteral("{Return}")));
    }

    void typingOverAFilledRow_data()
    {
        QTest::addColumn<QString>("enteredBy"); // how box 1 got the focus: Tab, click, or the advance from box 0
        QTest::addColumn<QString>("rowBefore");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("rowAfter");
        QTest::addColumn<int>("focusAfter");
        // Whatever fills the box, a digit replacing its selected text starts a new octet;
        // the third digit of what the box will hold moves on.
        for (const QString by : {"Tab", "click", "advance"}) {
            const QByteArray n = by.toLatin1();
            QTest::newRow(n + ", 1 digit, two typed") << by << "123/5/6/7"
                                                      << "12"
                                                      << "123/12/6/7" << 1;
            QTest::newRow(n + ", 2 digits, 192 typed") << by << "123/10/6/7"
                                                       << "192"
                                                       << "123/192/6/7" << 2;
            QTest::newRow(n + ", 3 digits, one typed") << by << "123/456/6/7"
                                                       << "4"
                                                       << "123/4/6/7" << 1;
            QTest::newRow(n + ", dotted address typed") << by << "123/10/10/20"
                                                        << "77.0.77"
                                                        << "123/77/0/77" << 3;
        }
    }
    void typingOverAFilledRow()
    {
        QFETCH(QString, enteredBy);
        QFETCH(QString, rowBefore);
        QFETCH(QString, keys);
        const QStringList before = rowBefore.split(QLatin1Char('/'));
        for (int k = 0; k < 4; ++k)
            box(k).setText(before[k]);
        if (enteredBy == "Tab") {
            box(1).setFocus(Qt::TabFocusReason);
        } else if (enteredBy == "click") {
            Click(box(1));
        } else {
            box(0).setFocus(Qt::TabFocusReason);
            TypeIntoFocus(QStringLiteral("123"));
        }
        QCOMPARE(focusedBox(), 1);
        TypeIntoFocus(keys);
        QTEST(row(0), "rowAfter");
        QTEST(focusedBox(), "focusAfter");
    }

    void writes_data()
    {
        QTest::addColumn<int>("firstBox");
        QTest::addColumn<QString>("written"); // setText into the boxes from firstBox on
        QTest::addColumn<QString>("pasted");  // or this pasted into firstBox
        QTest::addColumn<QString>("rowAfter");
        QTest::addColumn<QString>("selectedAfter");

        QTest::newRow("mask written") << 4 << "255.255.255.0"
                                      << ""
                                      << "255/255/255/0"
                                      << "///";
        QTest::newRow("last octet 255 written") << 8 << "192.168.1.255"
                                                << ""
                                                << "192/168/1/"
                                                << "///";
        QTest::newRow("written pieces cut to 3") << 12 << "1234.5.6.1234"
                                                 << ""
                                                 << "123/5/6/123"
                                                 << "///";
        QTest::newRow("-5 pasted into box 1") << 1 << ""
                                              << "-5"
                                              << "/255//"
                                              << "/255//";
        QTest::newRow("-5 pasted into box 3") << 3 << ""
                                              << "-5"
                                              << "///"
                                              << "///";
    }
    void writes()
    {
        QFETCH(int, firstBox);
        QFETCH(QString, written);
        QFETCH(QString, pasted);

        const QStringList pieces = written.split(QLatin1Char('.'), Qt::SkipEmptyParts);
        for (int k = 0; k < pieces.size(); ++k)
            box(firstBox + k).setText(pieces[k]);
        if (!pasted.isEmpty()) {
            box(firstBox).setFocus(Qt::TabFocusReason);
            QGuiApplication::clipboard()->setText(pasted);
            TypeIntoFocus(QStringLiteral("{Ctrl+V}"));
        }
        QTEST(row(firstBox), "rowAfter");
        QTEST(row(firstBox, &QLineEdit::selectedText), "selectedAfter");
    }

    void clickSelection_data()
    {
        QTest::addColumn<QString>("focusBy");
        QTest::newRow("click from elsewhere") << "";
        QTest::newRow("Tab") << "{Tab}";
        QTest::newRow("third-digit advance") << "192";
    }
    void clickSelection()
    {
        QFETCH(QString, focusBy);
        box(5).setText(QStringLiteral("123"));
        box(4).setFocus(Qt::TabFocusReason);
        TypeIntoFocus(focusBy);
        if (!focusBy.isEmpty()) {
            QCOMPARE(focusedBox(), 5);
            QCOMPARE(box(5).selectedText(), QStringLiteral("123"));
        }
        // The first click after the focus keeps the whole content selected, later ones place the caret.
        for (const bool selected : {true, false, false}) {
            Click(box(5));
            QCOMPARE(focusedBox(), 5);
            QCOMPARE(box(5).hasSelectedText(), selected);
        }
    }
};

HOPTRACE_TEST(OctetBoxRulesTest)
#include "OctetBoxRulesTest.moc"
