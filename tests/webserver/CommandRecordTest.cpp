#include "TestMain.h"

#include "fakes/WindowInput.h"
#include "fakes/WindowRig.h"

#include "devices/CommissioningLog.h"

#include <QFile>
#include <QPushButton>

// What the window's commands leave in the commissioning log, the command driven by real input.
class CommandRecordTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(CommissioningLog::DefaultPath()); }

    // Set IP's line as sent, and its outcome once the refresh after the wait has listed the
    // device again; Reboot closed in its wait is recorded as cancelled.
    void eachCommandIsRecordedWithItsOutcome_data()
    {
        Columns<bool, QString, QString, QString>("setIp", "refreshSees", "command", "outcome");
        Row("Set IP, back with the values sent", true, QString("192.168.1.20:80"), QString("set-dhcp"),
            QString("seen-new-values"));
        Row("Set IP, back with others", true, QString("192.168.1.20:81"), QString("set-dhcp"),
            QString("seen-other-values"));
        Row("Set IP, confirmed, then not found", true, QString(), QString("set-dhcp"), QString("confirmed"));
        Row("Reboot, window closed in its wait", false, QString(), QString("reboot"), QString("cancelled"));
    }
    void eachCommandIsRecordedWithItsOutcome()
    {
        auto [setIp, refreshSees, command, outcome] = Fetch<bool, QString, QString, QString>("setIp", "refreshSees",
                                                                                             "command", "outcome");
        WindowRig rig;
        rig.listReplies({TavikReply({.host = "Hall-3"})});
        const Controls& c = rig.c();
        if (setIp) {
            WindowInput::Click(*c.cmdSetIP);
            rig.fakes.socket.deliver(TavikReply({.host = "Hall-3"}), 0.5); // it shows what was sent
            WindowInput::Click(*c.cmdIPOK);
            rig.finishOperation();
            if (!refreshSees.isEmpty())
                rig.fakes.socket.deliver(TavikReply({.address = refreshSees.toStdString()}), 1.5);
            rig.finishSearch();
        } else {
            WindowInput::Click(*c.cmdReboot);
            rig.fakes.time.advance(3);
            rig.window->close();
            rig.fakes.time.advance(0.0); // the log's last append, which the program's end waits for
        }
        const LogReading log = ReadLogFile(CommissioningLog::DefaultPath());
        QCOMPARE(log.entries.size(), 1u);
        const LogEntry& entry = log.entries.front();
        QCOMPARE(QString::fromLatin1(CommandKindName(entry.record.command)), command);
        QCOMPARE(QString::fromLatin1(OutcomeName(entry.outcome.value_or(CommandOutcome::NotSeen))), outcome);
        QCOMPARE(entry.record.program, "hoptrace");
        QCOMPARE(entry.record.mac, "00:08:DC:00:00:01");
        QCOMPARE(entry.record.hostName, "Hall-3");
        QCOMPARE(entry.record.before.address, "192.168.1.20");
        QCOMPARE(entry.record.sent.dhcp, setIp ? std::optional(true) : std::nullopt);
    }
};

HOPTRACE_TEST(CommandRecordTest)
#include "CommandRecordTest.moc"
