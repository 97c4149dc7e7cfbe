#include "TestMain.h"

#include "NetviewPanel.h"

#include "platform/EchoTest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

// Records what each echo request asked for.
class BoundRecordingEcho final : public EchoTest {
public:
    bool echo(const std::string& address, int maxHops, double timeoutSeconds) override
    {
        lastAddress = address;
        lastHops = maxHops;
        lastTimeout = timeoutSeconds;
        return true;
    }
    std::string lastAddress;
    int lastHops = 0;
    double lastTimeout = 0.0;
};

} // namespace

class PingTestTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttonFollowsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("suggested address") << "192.168.1.125" << true;
        QTest::newRow("last part empty") << "192.168.1." << true;
        QTest::newRow("letter after last part") << "192.168.1.1a" << true;
        QTest::newRow("three parts") << "192.168.1" << false;
        QTest::newRow("five parts") << "192.168.1.1.1" << false;
        QTest::newRow("256") << "192.168.1.256" << false;
        QTest::newRow("negative") << "192.168.-1.1" << false;
        QTest::newRow("blanks are skipped") << " 192 . 168.1.1" << true;
        QTest::newRow("exponent above 255") << "192.168.1.3e2" << false;
        QTest::newRow("emptied") << "" << false;
    }
    void buttonFollowsText()
    {
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        NetviewPanel panel;
        panel.ping.txtIPtoPing->setText(QStringLiteral("x"));
        panel.ping.cmdPing->setEnabled(!enabled);

        panel.ping.txtIPtoPing->setText(text);

        QCOMPARE(panel.ping.cmdPing->isEnabled(), enabled);
    }

    void clickReports_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("pinged"); // empty: no echo request at all
        QTest::newRow("in use") << "192.168.1.125" << true << "192.168.1.125 is in use!" << "192.168.1.125";
        QTest::newRow("free") << "192.168.1.125" << false << "OK. 192.168.1.125 is free!" << "192.168.1.125";
        QTest::newRow("leading zeros pinged as decimal")
            << "192.168.001.010" << true << "192.168.001.010 is in use!" << "192.168.1.10";
        QTest::newRow("letter after last part")
            << "192.168.1.1a" << true << "192.168.1.1a is not a valid IP address!" << "";
        QTest::newRow("last part empty") << "192.168.1." << true << "192.168.1. is not a valid IP address!" << "";
    }
    void clickReports()
    {
        QFETCH(QString, text);
        QFETCH(bool, answers);
        QFETCH(QString, message);
        QFETCH(QString, pinged);
        NetviewPanel panel;
        panel.fakes.echo.answers = [answers](const std::string&) { return answers; };
        panel.ping.txtIPtoPing->setText(text);

        panel.ping.cmdPing->click();

        QCOMPARE(panel.fakes.messages.shown, std::vector<std::string>{message.toStdString()});
        const auto expectedAsked =
            pinged.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{pinged.toStdString()};
        QCOMPARE(panel.fakes.echo.asked, expectedAsked);
    }

    void emptyBoxAtStartIsNotCalledFree()
    {
        NetviewPanel panel;
        QVERIFY(panel.ping.cmdPing->isEnabled());

        panel.ping.cmdPing->click();

        QCOMPARE(panel.fakes.messages.shown, std::vector<std::string>{" is not a valid IP address!"});
        QVERIFY(panel.fakes.echo.asked.empty());
    }

    void pingAsksTwoHopsWithinOneSecond()
    {
        BoundRecordingEcho echo;
        const std::function<bool(const std::string&)> ping = Pinger(echo);

        QVERIFY(ping("192.168.4.1"));

        QCOMPARE(echo.lastAddress, std::string("192.168.4.1"));
        QCOMPARE(echo.lastHops, 2);
        QCOMPARE(echo.lastTimeout, 1.0);
    }

    void pingNeverSendsForNonAddress()
    {
        NetviewPanel panel;
        panel.fakes.echo.answers = [](const std::string&) { return true; };
        const std::function<bool(const std::string&)> ping = panel.pingTest->pinger();

        QVERIFY(!ping("192.168.4.1a"));
        QVERIFY(!ping(""));
        QVERIFY(panel.fakes.echo.asked.empty());
    }
};

HOPTRACE_TEST(PingTestTest)
#include "PingTestTest.moc"
