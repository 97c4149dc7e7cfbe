#pragma once

#include "CommissioningLog.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>

class AdapterTable;
class BackgroundCalls;
class CommandChannel;
struct CommandRequest;

// Keeps the commissioning log of every command that passes a program's command channel: a
// line as it is sent, and a line with its outcome once known. A log that cannot be written
// never stops the command; the front end is told why.
//
// With `background` (the window's), the lines are written away from the caller's thread, one
// after the other in the order the commands reported them: an append may wait for the lock
// another program holds, and the window's thread never waits. Without it (the command line's
// own loop), each line is written at once.
class CommissioningRecorder final : public QObject {
    Q_OBJECT
public:
    // `program` names the front end in each line ("hoptrace", "hoptrace-cli").
    CommissioningRecorder(CommandChannel& channel, const AdapterTable& nics, std::string program,
                          BackgroundCalls* background = nullptr, CommissioningLog log = CommissioningLog(),
                          QObject* parent = nullptr);
    ~CommissioningRecorder() override;

    const CommissioningLog& log() const { return log_; }

Q_SIGNALS:
    void writeFailed(const QString& reason);

private:
    struct Writer;

    void commandStarted(int id, const CommandRequest& request);
    void commandConcluded(int id, CommandOutcome outcome);
    void write(std::function<LogWrite()> append);

    const AdapterTable& nics_;
    std::string program_;
    BackgroundCalls* background_;
    CommissioningLog log_;
    std::map<int, std::string> logIds_; // the channel's ids to the log's
    std::shared_ptr<Writer> writer_;    // shared with the background call that drains it
};
