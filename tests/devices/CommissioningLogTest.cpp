#include "TestMain.h"

#include "devices/CommissioningLog.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

namespace {
QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AppendRaw(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(bytes);
}
} // namespace

class CommissioningLogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Damaged lines among whole ones, the one before the second command cut short without its line
    // break: both commands come back with their values, the outcome paired by id, the damaged
    // lines counted, and the file as it was.
    void damagedLinesSkippedAndCounted()
    {
        QTemporaryDir dir;
        const CommissioningLog log(dir.filePath("new/folder/commissioning-log.jsonl"));
        CommissioningRecord first = StampedRecord("hoptrace-cli", CommandKind::SetIP);
        first.time = QDateTime::fromString("2024-05-01T09:30:00+02:00", Qt::ISODate);
        first.mac = "00:08:DC:00:00:01";
        first.hostName = "Halle \u201C2\u201D";
        first.before = {true, "192.168.1.20", "255.255.255.0", "192.168.1.1", "", 80};
        first.sent = {false, "10.0.0.5", "255.0.0.0", "0.0.0.0", "0.0.0.0", 8080};
        CommissioningRecord second = StampedRecord("hoptrace", CommandKind::Reboot);
        second.mac = "00:08:dc:00:00:02";
        const LogWrite sent = log.appendSent(first);
        QVERIFY2(sent.ok(), sent.error.c_str());
        AppendRaw(log.path(), "not json\n{\"id\":\"x\",\"kind\":\"sent\",\"ti");
        QVERIFY(log.appendSent(second).ok());
        QVERIFY(log.appendOutcome(sent.id, CommandOutcome::SeenWithNewValues).ok());
        QVERIFY(log.appendOutcome("no-such-id", CommandOutcome::NotSeen).ok());
        const QByteArray before = Contents(log.path());

        const LogReading reading = ReadLogFile(log.path());
        QCOMPARE(reading.skipped, 3);
        QCOMPARE(reading.entries.size(), std::size_t(2));
        const LogEntry& entry = reading.entries[0];
        QCOMPARE(entry.record.time, first.time);
        QCOMPARE(entry.record.time.offsetFromUtc(), 7200);
        QCOMPARE(entry.record.hostName, first.hostName);
        QVERIFY(entry.record.command == CommandKind::SetIP && entry.record.program == "hoptrace-cli");
        QCOMPARE(entry.record.pcName, first.pcName);
        QCOMPARE(entry.record.version, first.version);
        QVERIFY(!first.version.empty());
        QVERIFY(entry.record.before.dhcp == true && entry.record.before.port == 80 && entry.record.before.dns.empty());
        QVERIFY(entry.record.sent.dhcp == false && entry.record.sent.address == "10.0.0.5"
                && entry.record.sent.port == 8080);
        QVERIFY(entry.outcome == CommandOutcome::SeenWithNewValues && entry.outcomeTime.isValid());
        QVERIFY(!reading.entries[1].outcome);
        QCOMPARE(Contents(log.path()), before);

        QCOMPARE(FilterLog(reading.entries, {}, "00:08:DC:00:00:02").size(), std::size_t(1));
        QCOMPARE(FilterLog(reading.entries, QDateTime::fromString("2024-05-01T08:00:00Z", Qt::ISODate), "").size(),
                 std::size_t(1));
        QCOMPARE(FilterLog(reading.entries, QDateTime::fromString("2024-05-01T07:00:00Z", Qt::ISODate), "").size(),
                 std::size_t(2));
    }

    // Two programs appending at once, many lines each: every line whole, none lost.
    void twoWritersLoseAndMixNoLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("commissioning-log.jsonl");
        constexpr int kLines = 400;
        QProcess writers[2];
        for (int i = 0; i < 2; ++i)
            writers[i].start(HOPTRACE_LOG_APPENDER, {path, QString::number(kLines), QString("w%1").arg(i)});
        for (QProcess& writer : writers) {
            QVERIFY(writer.waitForFinished(60000));
            QCOMPARE(writer.exitCode(), 0);
        }
        const LogReading reading = ReadLogFile(path);
        QCOMPARE(reading.skipped, 0);
        QSet<QString> hosts;
        for (const LogEntry& entry : reading.entries)
            hosts.insert(QString::fromStdString(entry.record.hostName));
        QCOMPARE(hosts.size(), 2 * kLines);
        QCOMPARE(reading.entries.size(), std::size_t(2 * kLines));
    }

    // A log that cannot be written says why, as a value; reading a missing log makes nothing.
    void writeFailureIsAValue()
    {
        QTemporaryDir dir;
        AppendRaw(dir.filePath("file"), "x");
        const CommissioningLog log(dir.filePath("file/commissioning-log.jsonl"));
        const LogWrite write = log.appendSent(StampedRecord("hoptrace", CommandKind::Reboot));
        QVERIFY(!write.ok());
        QVERIFY2(write.error.find("file/commissioning-log.jsonl cannot be written") != std::string::npos,
                 write.error.c_str());
        QVERIFY(!log.appendOutcome(write.id, CommandOutcome::Cancelled).ok());
        const LogReading missing = ReadLogFile(dir.filePath("none.jsonl"));
        QVERIFY(missing.entries.empty() && missing.error.empty() && !QFile::exists(dir.filePath("none.jsonl")));
    }
};

HOPTRACE_TEST(CommissioningLogTest)
#include "CommissioningLogTest.moc"
