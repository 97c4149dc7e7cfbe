#include "TestMain.h"

#include "devices/CommissioningLog.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

namespace {
// Appends `bytes` as another program might, and gives the whole file.
QByteArray Appended(const QString& path, const QByteArray& bytes = {})
{
    QFile file(path);
    if (!bytes.isEmpty() && file.open(QIODevice::Append))
        file.write(bytes);
    file.close();
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        QVERIFY2(sent.ok() && !first.version.empty(), sent.error.c_str());
        Appended(log.path(), "not json\n{\"id\":\"x\",\"kind\":\"sent\",\"ti");
        QVERIFY(log.appendSent(second).ok());
        const QDateTime outcomeTime = first.time.addSecs(20);
        QVERIFY(log.appendOutcome(sent.id, CommandOutcome::SeenWithNewValues, outcomeTime).ok());
        QVERIFY(log.appendOutcome("no-such-id", CommandOutcome::NotSeen).ok());
        const QByteArray before = Appended(log.path());

        const LogReading reading = ReadLogFile(log.path());
        QCOMPARE(reading.skipped, 3);
        QCOMPARE(reading.entries.size(), std::size_t(2));
        // Every value back, the time with its offset, the outcome paired by id.
        QCOMPARE(LogEntryObject(reading.entries[0]),
                 LogEntryObject({sent.id, first, CommandOutcome::SeenWithNewValues, outcomeTime}));
        QVERIFY(!reading.entries[1].outcome);
        QCOMPARE(Appended(log.path()), before);

        const auto kept = [&](const char* since, const char* mac) {
            return FilterLog(reading.entries, QDateTime::fromString(since, Qt::ISODate), mac).size();
        };
        QCOMPARE(kept("", "00:08:DC:00:00:02"), 1u);
        QCOMPARE(kept("2024-05-01T08:00:00Z", ""), 1u);
        QCOMPARE(kept("2024-05-01T07:00:00Z", ""), 2u);
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
        QSet<QString> hosts;
        for (const LogEntry& entry : reading.entries)
            hosts.insert(QString::fromStdString(entry.record.hostName));
        QCOMPARE(reading.skipped, 0);
        QCOMPARE(hosts.size(), 2 * kLines);
        QCOMPARE(reading.entries.size(), std::size_t(2 * kLines));
    }

    // A log that cannot be written (its folder a file; its lock held) says why, as a value, at
    // once or after the lock's wait; reading a missing log makes nothing.
    void writeFailureIsAValue()
    {
        QTemporaryDir dir;
        QLockFile held(dir.filePath("log.jsonl.lock"));
        QVERIFY(held.lock());
        QCOMPARE(Appended(dir.filePath("file"), "x"), "x");
        for (const char* path : {"file/log.jsonl", "log.jsonl"}) {
            const LogWrite write = CommissioningLog(dir.filePath(path)).appendOutcome("id", CommandOutcome::NotSeen);
            QVERIFY2(!write.ok() && write.error.find(std::string(path) + " cannot be written: ") != std::string::npos,
                     write.error.c_str());
        }
        QCOMPARE(ReadLogFile(dir.filePath("log.jsonl")).entries.size(), 0u);
        QVERIFY(!QFile::exists(dir.filePath("log.jsonl")));
    }
};

HOPTRACE_TEST(CommissioningLogTest)
#include "CommissioningLogTest.moc"
