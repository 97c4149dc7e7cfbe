#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// "Test via Ping" in the window, on an adapter 192.168.1.2/24, when the echo gets no answer.
class FreeAddressWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void silentAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("resolved"); // someone answered address resolution after the echo
        QTest::addColumn<QString>("message");
        QTest::newRow("host that ignores ping") << "192.168.1.125" << true << "192.168.1.125 is in use!";
        QTest::newRow("nobody there") << "192.168.1.125" << false << "OK. 192.168.1.125 is free!";
        QTest::newRow("beyond the PC's subnets the echo decides") << "10.1.2.3" << true << "OK. 10.1.2.3 is free!";
    }
    void silentAddress()
    {
        QFETCH(QString, address);
        QFETCH(bool, resolved);
        QFETCH(QString, message);
        WindowRig rig;
        if (resolved)
            rig.fakes.neighbours.resolved.insert(address.toStdString());
        rig.load();
        rig.finishSearch();

        WindowInput::Click(*rig.c().txtIPtoPing);
        WindowInput::Key(*rig.window, Qt::Key_A, Qt::ControlModifier);
        WindowInput::Type(*rig.window, address);
        WindowInput::Click(*rig.c().cmdPing);

        QCOMPARE(rig.fakes.messages.shown, std::vector<std::string>{message.toStdString()});
    }
};

HOPTRACE_TEST(FreeAddressWindowTest)
#include "FreeAddressWindowTest.moc"
