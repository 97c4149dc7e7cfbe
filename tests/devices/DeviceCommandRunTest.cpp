#include "TestMain.h"
#include "fakes/EngineRig.h"
#include "fakes/TavikReply.h"

#include "devices/SetupDatagrams.h"

#include <QSignalSpy>
#include <QTest>

// A command on its own, as both front ends run it, the engine's intake hearing the answers (EngineRig).
class DeviceCommandRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The setup copies go out once a second until the device shows what was sent; only then
    // does the reboot wait follow, and only the device's own answer with the new values counts.
    void setupCopiesEndOnTheDevicesAnswer_data()
    {
        Columns<std::string, double, std::vector<double>, double, QString>("answer", "answerAt", "copiesAt", "readyAt",
                                                                           "outcome");
        const std::string dhcp80 = TavikReply({.address = "192.168.1.20:80"});
        Row("no answer", std::string(), 0.0, std::vector<double>{0, 1, 2}, 3.0, QString("not-seen"));
        Row("answer after the first copy", dhcp80, 0.5, std::vector<double>{0}, 13.0, QString("confirmed"));
        Row("answer after the second copy", dhcp80, 1.5, std::vector<double>{0, 1}, 14.0, QString("confirmed"));
        Row("another device", TavikReply({.mac = "00:08:DC:00:00:02", .address = "192.168.1.20:80"}), 0.5,
            std::vector<double>{0, 1, 2}, 3.0, QString("not-seen"));
        Row("its old values", TavikReply({.address = "192.168.1.20:81"}), 0.5, std::vector<double>{0, 1, 2}, 3.0,
            QString("not-seen"));
    }
    void setupCopiesEndOnTheDevicesAnswer()
    {
        auto [answer, answerAt, copiesAt, readyAt,
              outcome] = Fetch<std::string, double, std::vector<double>, double, QString>("answer", "answerAt",
                                                                                          "copiesAt", "readyAt",
                                                                                          "outcome");
        EngineRig rig;
        QSignalSpy started(&rig.channel, &CommandChannel::commandStarted);
        QSignalSpy concluded(&rig.channel, &CommandChannel::commandConcluded);
        QSignalSpy ready(&rig.run, &DeviceCommandRun::readyToCheck);
        if (!answer.empty())
            rig.socket.deliver(answer, answerAt);
        rig.run.start(SetupCommandFor("00:08:DC:00:00:01", "192.168.1.20", 2, std::nullopt,
                                      TavikSetup::SetDHCPRequest("80", "00:08:DC:00:00:01")),
                      true);
        rig.time.advance(readyAt - 0.05);
        QCOMPARE(ready.count(), 0);
        rig.time.advance(0.1);
        QCOMPARE(ready.count(), 1);
        QCOMPARE(rig.sendTimes(), copiesAt);
        rig.run.conclude(std::nullopt); // the search after it did not find the device
        QCOMPARE(started.count(), 1);
        QCOMPARE(concluded.count(), 1);
        QCOMPARE(concluded[0][0], started[0][0]); // the same command's id
        QCOMPARE(QString::fromLatin1(OutcomeName(concluded[0][1].value<CommandOutcome>())), outcome);
    }
};

HOPTRACE_TEST(DeviceCommandRunTest)
#include "DeviceCommandRunTest.moc"
