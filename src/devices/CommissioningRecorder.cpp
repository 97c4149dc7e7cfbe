#include "CommissioningRecorder.h"

#include "CommandChannel.h"

#include "common/AdapterTable.h"
#include "common/Latin1.h"

CommissioningRecorder::CommissioningRecorder(CommandChannel& channel, const AdapterTable& nics, std::string program,
                                             CommissioningLog log, QObject* parent)
    : QObject(parent), nics_(nics), program_(std::move(program)), log_(std::move(log))
{
    connect(&channel, &CommandChannel::commandStarted, this, &CommissioningRecorder::commandStarted);
    connect(&channel, &CommandChannel::commandConcluded, this, &CommissioningRecorder::commandConcluded);
}

void CommissioningRecorder::commandStarted(int id, const CommandRequest& request)
{
    CommissioningRecord record = StampedRecord(program_, request.kind);
    const bool setup = request.kind == CommandKind::SetIP || request.kind == CommandKind::SetDHCP;
    if (setup) {
        record.adapter = "every adapter";
        record.sent = request.expected;
    } else {
        for (const NicRecord& nic : nics_.first(nics_.count()))
            if (nic.interfaceIndex == request.interfaceIndex && request.interfaceIndex >= 0)
                record.adapter = AnsiBytesToText(nic.name).toStdString();
    }
    record.mac = request.mac;
    if (request.listed) {
        record.hostName = AnsiBytesToText(request.listed->hostName).toStdString();
        record.before = SettingsListed(*request.listed);
    }
    const LogWrite write = log_.appendSent(record);
    if (write.ok())
        logIds_[id] = write.id;
    else
        Q_EMIT writeFailed(QString::fromStdString(write.error));
}

void CommissioningRecorder::commandConcluded(int id, CommandOutcome outcome)
{
    const auto logged = logIds_.find(id);
    if (logged == logIds_.end())
        return; // its first line could not be written: the failure was told then
    const LogWrite write = log_.appendOutcome(logged->second, outcome);
    logIds_.erase(logged);
    if (!write.ok())
        Q_EMIT writeFailed(QString::fromStdString(write.error));
}
