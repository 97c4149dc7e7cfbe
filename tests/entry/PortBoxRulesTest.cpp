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

class PortBoxRulesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<EntryPanel> panel_;
    QLineEdit& port() const { return *panel_->port; }

private Q_SLOTS:
    void init()
    {
        panel_ = std::make_unique<EntryPanel>();
        panel_->show();
        QVERIFY(QTest::qWaitForWindowActive(panel_.get()));
        port().setFocus(Qt::TabFocusReason);
    }
    void cleanup() { panel_.reset(); }

    void typing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");

        QTest::newRow("60000 stays") << "60000" << "60000" << "";
        QTest::newRow("60001 falls back") << "60001" << "8080" << "8080";
        QTest::newRow("9 9 9 9 9 falls back") << "99999" << "8080" << "8080";
        QTest::newRow("typing over the fallback") << "700001" << "1" << "";
        QTest::newRow("sixth digit refused") << "123456" << "12345" << "";
        QTest::newRow("letters, minus, dot, blank dropped") << "8a0-8.0 x" << "8080" << "";
    }
    void typing()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QString, selected);

        TypeIntoFocus(keys);
        QCOMPARE(port().text(), text);
        QCOMPARE(port().selectedText(), selected);
    }

    void enterDropped()
    {
        QSignalSpy returns(&port(), &QLineEdit::returnPressed);
        TypeIntoFocus(QStringLiteral("80"));
        QTest::keyClick(&port(), Qt::Key_Return);
        QTest::keyClick(&port(), Qt::Key_Enter);
        QCOMPARE(returns.count(), 0);
        QCOMPARE(port().text(), QStringLiteral("80"));
    }

    void backspaceEmptiesAndEmptyStays()
    {
        TypeIntoFocus(QStringLiteral("80"));
        QTest::keyClick(&port(), Qt::Key_Backspace);
        QCOMPARE(port().text(), QStringLiteral("8"));
        QTest::keyClick(&port(), Qt::Key_Backspace);
        QCOMPARE(port().text(), QString());
    }

    void programWrites_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");

        QTest::newRow("80") << "80" << "80" << "";
        QTest::newRow("0") << "0" << "0" << "";
        QTest::newRow("60000") << "60000" << "60000" << "";
        QTest::newRow("65535") << "65535" << "8080" << "8080";
        QTest::newRow("cut to 5, then too big") << "654321" << "8080" << "8080";
        QTest::newRow("negative") << "-5" << "8080" << "8080";
    }
    void programWrites()
    {
        QFETCH(QString, written);
        QFETCH(QString, text);
        QFETCH(QString, selected);

        port().setText(written);
        QCOMPARE(port().text(), text);
        QCOMPARE(port().selectedText(), selected);
    }

    void pasting_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");

        QTest::newRow("port") << "8081" << "8081";
        QTest::newRow("cut to 5") << "1234567" << "12345";
        QTest::newRow("too big") << "61000" << "8080";
        QTest::newRow("negative") << "-5" << "8080";
        QTest::newRow("not a number stays") << "http" << "http";
    }
    void pasting()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, text);

        PasteIntoFocus(clipboard);
        QCOMPARE(port().text(), text);
    }

    void everyClickSelectsAll()
    {
        port().setText(QStringLiteral("8080"));
        panel_->elsewhere->setFocus(Qt::OtherFocusReason);

        Click(port());
        QCOMPARE(QApplication::focusWidget(), &port());
        QCOMPARE(port().selectedText(), QStringLiteral("8080"));
        for (int again = 0; again < 2; ++again) {
            Click(port());
            QCOMPARE(port().selectedText(), QStringLiteral("8080"));
        }
        QTest::keyClick(&port(), Qt::Key_End);
        Click(port());
        QCOMPARE(port().selectedText(), QStringLiteral("8080"));
    }
};

HOPTRACE_TEST(PortBoxRulesTest)
#include "PortBoxRulesTest.moc"
