#pragma once

#include "CommissioningRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <string>
#include <vector>

// What an append did. A log that cannot be written never stops a command: the caller shows or
// prints the reason and goes on.
struct LogWrite {
    std::string id;    // the command line's id, which its outcome line names
    std::string error; // why nothing (or not all) was written; empty when the line is in the log
    bool ok() const { return error.empty(); }
};

// The commissioning log: one JSON object per line, appended by the window and the command line
// alike, in the user's application data folder. A command's line is written when it is sent,
// and a second line with the same id once its outcome is known, so the file is only ever
// appended to. Each append holds a lock file beside the log and writes its line in one call, so
// two programs appending at once lose and mix no line (an append-mode file is not enough: on
// Windows its position is taken once, at open).
// A new id for a command's line.
std::string NewLogId();

class CommissioningLog final {
public:
    // "commissioning-log.jsonl" in QStandardPaths::AppDataLocation.
    static QString DefaultPath();

    explicit CommissioningLog(QString path = DefaultPath());
    const QString& path() const { return path_; }

    // The folder is made when it is missing. `id` names the line for its outcome; a new one
    // when empty. An append waits up to two seconds for a lock another program holds: the
    // window hands it to BackgroundCalls.
    LogWrite appendSent(const CommissioningRecord& record, std::string id = {}) const;
    LogWrite appendOutcome(const std::string& id, CommandOutcome outcome,
                           const QDateTime& time = QDateTime::currentDateTime()) const;

private:
    std::string appendLine(QByteArray line) const;

    QString path_;
};

// The log read back: its commands in the order written, each with its outcome when that was
// written. Reading never changes the file.
struct LogReading {
    std::vector<LogEntry> entries;
    // Lines that hold no whole record (cut short, damaged, an outcome whose command is not there).
    int skipped = 0;
    std::string error; // the file is there but cannot be read
};

LogReading ReadLog(const QByteArray& bytes);
// A log that does not exist yet is empty.
LogReading ReadLogFile(const QString& path);

// The entries sent at or after `since` (an invalid time: any) to `mac` (empty: any).
std::vector<LogEntry> FilterLog(const std::vector<LogEntry>& entries, const QDateTime& since, const std::string& mac);

// An entry as one JSON object: the command line's keys, "outcome" and "outcome_time" (null
// until known).
QJsonObject LogEntryObject(const LogEntry& entry);
