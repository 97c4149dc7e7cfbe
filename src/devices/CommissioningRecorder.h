#pragma once

#include "CommissioningLog.h"

#include <QObject>
#include <QString>

#include <map>
#include <string>

class AdapterTable;
class CommandChannel;
struct CommandRequest;

// Keeps the commissioning log of every command that passes a program's command channel: a
// line as it is sent, and a line with its outcome once known. A log that cannot be written
// never stops the command; the front end is told why.
class CommissioningRecorder final : public QObject {
    Q_OBJECT
public:
    // `program` names the front end in each line ("hoptrace", "hoptrace-cli").
    CommissioningRecorder(CommandChannel& channel, const AdapterTable& nics, std::string program,
                          CommissioningLog log = CommissioningLog(), QObject* parent = nullptr);

    const CommissioningLog& log() const { return log_; }

Q_SIGNALS:
    void writeFailed(const QString& reason);

private:
    void commandStarted(int id, const CommandRequest& request);
    void commandConcluded(int id, CommandOutcome outcome);

    const AdapterTable& nics_;
    std::string program_;
    CommissioningLog log_;
    std::map<int, std::string> logIds_; // the channel's ids to the log's
};
