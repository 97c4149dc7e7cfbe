#include "TestMain.h"

#include "EntryRig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

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

    void rules_data()
    {
        QTest::addColumn<QString>("written"); // by setText, before the keys
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");

        QTest::newRow("60000 typed stays") << ""
                                           << "60000"
                                           << "60000"
                                           << "";
        QTest::newRow("60001 typed falls back") << ""
                                                << "60001"
                                                << "8080"
                                                << "8080";
        QTest::newRow("99999 typed falls back") << ""
                                                << "99999"
                                                << "8080"
                                                << "8080";
        QTest::newRow("sixth digit refused") << ""
                                             << "123456"
                                             << "12345"
                                             << "";
        QTest::newRow("Enter, letters, minus, dot, blank dropped") << ""
                                                                   << "8a0-8.0 x{Return}{Enter}"
                                                                   << "8080"
                                                                   << "";
        QTest::newRow("emptied box stays empty") << ""
                                                 << "80{Backspace}{Backspace}"
                                                 << ""
                                                 << "";
        QTest::newRow("Ctrl+A, Ctrl+X, Ctrl+V pass") << "808"
                                                     << "{Ctrl+A}{Ctrl+X}1{Ctrl+V}"
                                                     << "1808"
                                                     << "";
        QTest::newRow("65535 written falls back") << "65535"
                                                  << ""
                                                  << "8080"
                                                  << "8080";
        QTest::newRow("negative written falls back") << "-5"
                                                     << ""
                                                     << "8080"
                                                     << "8080";
    }
    void rules()
    {
        QFETCH(QString, written);
        QFETCH(QString, keys);
        QSignalSpy returns(&port(), &QLineEdit::returnPressed);

        if (!written.isEmpty())
            port().setText(written);
        TypeIntoFocus(keys);

        QTEST(port().text(), "text");
        QTEST(port().selectedText(), "selected");
        QCOMPARE(returns.count(), 0);
    }

    void everyClickSelectsAll()
    {
        port().setText(QStringLiteral("8080"));
        panel_->elsewhere->setFocus(Qt::OtherFocusReason);
        for (const QString& before : {QString(), QString(), QStringLiteral("{End}")}) {
            TypeIntoFocus(before);
            Click(port());
            QCOMPARE(QApplication::focusWidget(), &port());
            QCOMPARE(port().selectedText(), QStringLiteral("8080"));
        }
    }
};

HOPTRACE_TEST(PortBoxRulesTest)
#include "PortBoxRulesTest.moc"
