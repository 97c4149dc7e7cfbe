#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "controls/PictureButton.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
bool isSetup(const std::string& bytes) { return bytes.starts_with("TAVIKwebserver|Set"); }

struct Copies {
    std::vector<double> at;
    std::vector<int> interfaces;
};

Copies setupCopies(const WindowRig& rig)
{
    Copies copies;
    for (const auto& sent : rig.fakes.socket.sent)
        if (isSetup(sent.bytes)) {
            copies.at.push_back(sent.at);
            copies.interfaces.push_back(sent.interfaceIndex);
        }
    return copies;
}

void selectOne(WindowRig& rig)
{
    ReplyFields f;
    f.mac = "00:08:DC:12:34:56";
    rig.listReplies({TavikReply(f)});
}
} // namespace

class IpSetupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingShowsThePanelFilledBySelection()
    {
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        QVERIFY(rig.c().fraSetIP->isVisible());
        QCOMPARE(rig.c().fraSetIP->title(), QString("Set IP on 00:08:DC:12:34:56"));
        QVERIFY(!rig.c().txtServers->isEnabled());
        QVERIFY(!rig.c().picRefresh->isEnabled());
        QVERIFY(!rig.c().fraIP->isEnabled()); // DHCP selected
        WindowInput::Click(*rig.c().optAutoIP[1]);
        QVERIFY(rig.c().fraIP->isEnabled());
    }

    void cancelKeepsTheEdits()
    {
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        rig.c().txtPort->setText("81");
        WindowInput::Click(*rig.c().cmdIPCancel);
        QVERIFY(rig.c().fraSetIP->isHidden());
        QVERIFY(rig.c().txtServers->isEnabled());
        QVERIFY(rig.c().cmdReboot->isEnabled());
        WindowInput::Click(*rig.c().cmdSetIP);
        QCOMPARE(rig.c().txtPort->text(), QString("81"));
        QCOMPARE(setupCopies(rig).at.size(), std::size_t(0));
    }

    void sendsTheChosenDatagram_data()
    {
        QTest::addColumn<bool>("fixIp");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("DHCP") << false << QByteArray("TAVIKwebserver|SetDHCP|\x12\x34\x56\x00\x50|", 29);
        QTest::newRow("fixed address")
            << true
            << QByteArray("TAVIKwebserver|SetIP|\x12\x34\x56\xC0\xA8\x01\x14\x00\x50\xFF\xFF\xFF\x00"
                          "\xC0\xA8\x01\x01\x08\x08\x08\x08|",
                          43);
    }
    void sendsTheChosenDatagram()
    {
        QFETCH(bool, fixIp);
        QFETCH(QByteArray, expected);
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        if (fixIp)
            WindowInput::Click(*rig.c().optAutoIP[1]);
        for (int i = 12; i < 16; ++i)
            rig.c().txtIPadres[i]->setText("8");
        WindowInput::Click(*rig.c().cmdIPOK);
        for (const auto& sent : rig.fakes.socket.sent)
            if (isSetup(sent.bytes)) {
                QCOMPARE(QByteArray::fromStdString(sent.bytes), expected);
                QCOMPARE(sent.host, std::string("255.255.255.255"));
            }
        QVERIFY(!setupCopies(rig).at.empty());
    }

    void anEmptyAddressOrPortBoxIsRefused_data()
    {
        QTest::addColumn<bool>("fixIp");
        QTest::addColumn<int>("emptied"); // octet box, or -1 for the port box
        QTest::addColumn<QString>("message");
        const QString address = "Please fill in all four numbers of the IP address.";
        const QString port = "Please enter a port number.";
        QTest::newRow("Fix IP, last octet") << true << 3 << address;
        QTest::newRow("Fix IP, first octet") << true << 0 << address;
        QTest::newRow("Fix IP, port") << true << -1 << port;
        QTest::newRow("DHCP, port") << false << -1 << port;
        QTest::newRow("Fix IP, DNS box is sent as 0") << true << 15 << "";
    }
    void anEmptyAddressOrPortBoxIsRefused()
    {
        QFETCH(bool, fixIp);
        QFETCH(int, emptied);
        QFETCH(QString, message);
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        WindowInput::Click(*rig.c().optAutoIP[fixIp ? 1 : 0]);
        QLineEdit* box = emptied < 0 ? rig.c().txtPort : rig.c().txtIPadres[emptied];
        WindowInput::Click(*box);
        QCoreApplication::processEvents(); // the click selects the box's text
        WindowInput::Key(*rig.window, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        WindowInput::Click(*rig.c().cmdIPOK);
        if (message.isEmpty()) {
            QVERIFY(!setupCopies(rig).at.empty());
            return;
        }
        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{message.toStdString()});
        QVERIFY(setupCopies(rig).at.empty());
        QVERIFY(rig.c().fraSetIP->isVisible());
        QCOMPARE(QApplication::focusWidget(), box);
    }

    void withoutAnswerThreeCopiesThenRefresh()
    {
        WindowRig rig;
        rig.fakes.adapters.list = {{"eth0", "192.168.1.2", "255.255.255.0", "", 2},
                                   {"eth1", "10.0.0.2", "255.0.0.0", "", 3}};
        selectOne(rig);
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*rig.c().cmdSetIP);
        const double clicked = rig.fakes.time.elapsed();
        WindowInput::Click(*rig.c().cmdIPOK);
        const Copies copies = setupCopies(rig);
        QCOMPARE(copies.at.size(), std::size_t(6)); // three copies, each out of both adapters
        QCOMPARE(copies.interfaces, (std::vector<int>{2, 3, 2, 3, 2, 3}));
        QCOMPARE(copies.at[2] - clicked, 1.0);
        QCOMPARE(copies.at[4] - clicked, 2.0);
        QVERIFY(rig.fakes.messages.shown.empty());
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QVERIFY(rig.fakes.time.elapsed() - clicked < 3.5);
        QVERIFY(rig.c().fraSetIP->isHidden());
    }

    void anAnswerStopsTheCopiesAndShowsTheRebootWait()
    {
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        ReplyFields moved;
        moved.mac = "00:08:DC:12:34:57"; // not listed yet
        rig.fakes.socket.deliver(TavikReply(moved), 0.5);
        QString atOneSecond, atTwelve;
        rig.fakes.time.schedule(1.2, [&] { atOneSecond = rig.c().labStatus->text(); });
        rig.fakes.time.schedule(12.9, [&] { atTwelve = rig.c().labStatus->text(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        WindowInput::Click(*rig.c().cmdIPOK);
        QCOMPARE(setupCopies(rig).at.size(), std::size_t(1));
        QCOMPARE(atOneSecond, QString("IPsetup sent OK. Rebooting"));
        QCOMPARE(atTwelve, "IPsetup sent OK. Rebooting" + QString("...").repeated(12));
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore + 1);
        QCOMPARE(rig.c().cmdReboot->text(), QString("Reboot"));
    }

    void closingDuringEitherWaitEndsItWithoutRefresh_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<double>("closeAt");
        QTest::newRow("send phase") << false << 1.5;
        QTest::newRow("reboot wait") << true << 5.0;
    }
    void closingDuringEitherWaitEndsItWithoutRefresh()
    {
        QFETCH(bool, answered);
        QFETCH(double, closeAt);
        WindowRig rig;
        selectOne(rig);
        WindowInput::Click(*rig.c().cmdSetIP);
        if (answered) {
            ReplyFields other;
            other.mac = "00:08:DC:00:00:99";
            rig.fakes.socket.deliver(TavikReply(other), 0.2);
        }
        rig.fakes.time.schedule(closeAt, [&] { rig.window->close(); });
        const int searchesBefore = rig.fakes.adapters.calls;
        const double clicked = rig.fakes.time.elapsed();
        WindowInput::Click(*rig.c().cmdIPOK);
        QVERIFY(rig.fakes.time.elapsed() - clicked < closeAt + 0.5);
        QCOMPARE(rig.fakes.adapters.calls, searchesBefore);
    }

    void startedJustAfterMidnightSendsNothing()
    {
        WindowRig rig(86395.0);
        selectOne(rig);
        rig.fakes.time.advance(86400.4 - 86395.0 - rig.fakes.time.elapsed());
        WindowInput::Click(*rig.c().cmdSetIP);
        WindowInput::Click(*rig.c().cmdIPOK);
        QCOMPARE(setupCopies(rig).at.size(), std::size_t(0));
    }
};

HOPTRACE_TEST(IpSetupTest)
#include "IpSetupTest.moc"
