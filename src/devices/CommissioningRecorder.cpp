#include "CommissioningRecorder.h"

#include "CommandChannel.h"

#include "common/AdapterTable.h"
#include "common/Latin1.h"
#include "platform/BackgroundCalls.h"

#include <QPointer>

#include <deque>
#include <mutex>

// The appends not written yet, in order, and whether a background call is draining them.
struct CommissioningRecorder::Writer {
    std::mutex mutex;
    std::deque<std::function<LogWrite()>> appends;
    bool draining = false;
    std::vector<std::string> failures; // for the caller's thread
};

CommissioningRecorder::CommissioningRecorder(CommandChannel& channel, const AdapterTable& nics, std::string program,
                                             BackgroundCalls* background, CommissioningLog log, QObject* parent)
    : QObject(parent), nics_(nics), program_(std::move(program)), background_(background), log_(std::move(log)),
      writer_(std::make_shared<Writer>())
{
    connect(&channel, &CommandChannel::commandStarted, this, &CommissioningRecorder::commandStarted);
    connect(&channel, &CommandChannel::commandConcluded, this, &CommissioningRecorder::commandConcluded);
}

// A drain still running holds the writer; the background calls end before the program does.
CommissioningRecorder::~CommissioningRecorder() = default;

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
    const std::string logId = NewLogId();
    logIds_[id] = logId;
    write([log = log_, record, logId] { return log.appendSent(record, logId); });
}

void CommissioningRecorder::commandConcluded(int id, CommandOutcome outcome)
{
    const auto logged = logIds_.find(id);
    if (logged == logIds_.end())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    write([log = log_, logId = logged->second, outcome, now] { return log.appendOutcome(logId, outcome, now); });
    logIds_.erase(logged);
}

void CommissioningRecorder::write(std::function<LogWrite()> append)
{
    if (!background_) {
        const LogWrite written = append();
        if (!written.ok())
            Q_EMIT writeFailed(QString::fromStdString(written.error));
        return;
    }
    {
        const std::lock_guard lock(writer_->mutex);
        writer_->appends.push_back(std::move(append));
        if (writer_->draining)
            return;
        writer_->draining = true;
    }
    // One call drains the queue, so that the lines keep their order.
    background_->start(
        [writer = writer_] {
            for (;;) {
                std::function<LogWrite()> next;
                {
                    const std::lock_guard lock(writer->mutex);
                    if (writer->appends.empty()) {
                        writer->draining = false;
                        return 0;
                    }
                    next = std::move(writer->appends.front());
                    writer->appends.pop_front();
                }
                const LogWrite written = next();
                if (!written.ok()) {
                    const std::lock_guard lock(writer->mutex);
                    writer->failures.push_back(written.error);
                }
            }
        },
        [self = QPointer(this), writer = writer_](int) {
            std::vector<std::string> failures;
            {
                const std::lock_guard lock(writer->mutex);
                failures.swap(writer->failures);
            }
            if (self)
                for (const std::string& failure : failures)
                    Q_EMIT self->writeFailed(QString::fromStdString(failure));
        });
}
