#include "CommissioningLog.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

#include <map>

namespace {

// Another program holds the lock for the few microseconds of one line; anything longer is a
// program that hangs, and the command must not wait for it.
constexpr int kLockWaitMs = 2000;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Std(const QJsonValue& value) { return value.toString().toStdString(); }

// Written with its offset from UTC, so that lines from PCs in other zones compare correctly.
QString TimeText(const QDateTime& time) { return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate); }

QJsonObject SettingsObject(const ExpectedSettings& settings)
{
    QJsonObject object;
    if (settings.dhcp)
        object.insert("assignment", *settings.dhcp ? "dhcp" : "fixed");
    const std::pair<const char*, const std::string*> texts[] = {{"address", &settings.address},
                                                                {"mask", &settings.mask},
                                                                {"gateway", &settings.gateway},
                                                                {"dns", &settings.dns}};
    for (const auto& [key, value] : texts)
        if (!value->empty())
            object.insert(key, Text(*value));
    if (settings.port)
        object.insert("port", *settings.port);
    return object;
}

ExpectedSettings SettingsFrom(const QJsonObject& object)
{
    ExpectedSettings settings;
    const QString assignment = object.value("assignment").toString();
    if (!assignment.isEmpty())
        settings.dhcp = assignment == QLatin1String("dhcp");
    settings.address = Std(object.value("address"));
    settings.mask = Std(object.value("mask"));
    settings.gateway = Std(object.value("gateway"));
    settings.dns = Std(object.value("dns"));
    if (object.value("port").isDouble())
        settings.port = object.value("port").toInt();
    return settings;
}

QByteArray Line(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n'; }

QJsonObject SentObject(const std::string& id, const CommissioningRecord& r)
{
    return {{"id", Text(id)},
            {"kind", "sent"},
            {"time", TimeText(r.time)},
            {"program", Text(r.program)},
            {"version", Text(r.version)},
            {"pc", Text(r.pcName)},
            {"user", Text(r.userName)},
            {"adapter", Text(r.adapter)},
            {"mac", Text(r.mac)},
            {"host_name", Text(r.hostName)},
            {"command", Text(std::string(CommandKindName(r.command)))},
            {"before", SettingsObject(r.before)},
            {"sent", SettingsObject(r.sent)}};
}

} // namespace

std::string NewLogId() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); }

QString CommissioningLog::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/commissioning-log.jsonl");
}

CommissioningLog::CommissioningLog(QString path) : path_(std::move(path)) { }

LogWrite CommissioningLog::appendSent(const CommissioningRecord& record, std::string id) const
{
    if (id.empty())
        id = NewLogId();
    return {id, appendLine(Line(SentObject(id, record)))};
}

LogWrite CommissioningLog::appendOutcome(const std::string& id, CommandOutcome outcome, const QDateTime& time) const
{
    const QJsonObject object{{"id", Text(id)},
                             {"kind", "outcome"},
                             {"time", TimeText(time)},
                             {"outcome", Text(std::string(OutcomeName(outcome)))}};
    return {id, appendLine(Line(object))};
}

std::string CommissioningLog::appendLine(QByteArray line) const
{
    const auto failed = [this](const QString& why) {
        return QStringLiteral("The commissioning log %1 cannot be written: %2").arg(path_, why).toStdString();
    };
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("its folder cannot be made"));
    QLockFile lock(path_ + QStringLiteral(".lock"));
    // Asked again every few milliseconds: QLockFile's own wait sleeps 100 ms and more between
    // tries, and a busy writer would take the lock back each time in between.
    const QDeadlineTimer deadline(kLockWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError)
            return failed(QStringLiteral("its lock file cannot be made"));
        if (deadline.hasExpired())
            return failed(QStringLiteral("another program holds its lock"));
        QThread::msleep(2); // never on the window's thread
    }
    // A line cut short by a full disk or a crash ends without a line break; the next line must
    // not be glued to it, or it would be lost with it.
    QFile last(path_);
    if (last.open(QIODevice::ReadOnly) && last.size() > 0 && last.seek(last.size() - 1) && last.read(1) != "\n")
        line.prepend('\n');
    last.close();
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return failed(file.errorString());
    // Opened under the lock, so the end it writes at is the end.
    file.seek(file.size());
    const qint64 written = file.write(line);
    if (written != line.size())
        return failed(written < 0 ? file.errorString()
                                  : QStringLiteral("only %1 of %2 bytes were written").arg(written).arg(line.size()));
    return {};
}

LogReading ReadLog(const QByteArray& bytes)
{
    LogReading reading;
    std::map<std::string, std::size_t> byId;
    std::vector<QJsonObject> outcomes;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        const std::string id = Std(object.value("id"));
        const QString kind = object.value("kind").toString();
        const QDateTime time = QDateTime::fromString(object.value("time").toString(), Qt::ISODate);
        const auto command = CommandKindNamed(Std(object.value("command")));
        if (id.empty() || !time.isValid()) {
            ++reading.skipped;
        } else if (kind == QLatin1String("outcome")) {
            outcomes.push_back(object);
        } else if (kind != QLatin1String("sent") || !command || byId.contains(id)) {
            ++reading.skipped;
        } else {
            byId[id] = reading.entries.size();
            const CommissioningRecord record{time,
                                             Std(object.value("program")),
                                             Std(object.value("version")),
                                             Std(object.value("pc")),
                                             Std(object.value("user")),
                                             Std(object.value("adapter")),
                                             Std(object.value("mac")),
                                             Std(object.value("host_name")),
                                             *command,
                                             SettingsFrom(object.value("before").toObject()),
                                             SettingsFrom(object.value("sent").toObject())};
            reading.entries.push_back({id, record, std::nullopt, {}});
        }
    }
    // Matched after every command is read: an outcome pairs with its command wherever it stands.
    for (const QJsonObject& object : outcomes) {
        const auto entry = byId.find(Std(object.value("id")));
        const auto outcome = OutcomeNamed(Std(object.value("outcome")));
        if (entry == byId.end() || !outcome) {
            ++reading.skipped;
            continue;
        }
        LogEntry& paired = reading.entries[entry->second];
        paired.outcome = outcome;
        paired.outcomeTime = QDateTime::fromString(object.value("time").toString(), Qt::ISODate);
    }
    return reading;
}

LogReading ReadLogFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        LogReading reading;
        reading.error =
            QStringLiteral("The commissioning log %1 cannot be read: %2").arg(path, file.errorString()).toStdString();
        return reading;
    }
    return ReadLog(file.readAll());
}

std::vector<LogEntry> FilterLog(const std::vector<LogEntry>& entries, const QDateTime& since, const std::string& mac)
{
    std::vector<LogEntry> kept;
    for (const LogEntry& entry : entries)
        if ((!since.isValid() || entry.record.time >= since) && (mac.empty() || SameMac(entry.record.mac, mac)))
            kept.push_back(entry);
    return kept;
}

QJsonObject LogEntryObject(const LogEntry& entry)
{
    QJsonObject object = SentObject(entry.id, entry.record);
    object.remove("kind");
    object.insert("outcome", entry.outcome ? QJsonValue(Text(std::string(OutcomeName(*entry.outcome)))) : QJsonValue());
    object.insert("outcome_time", entry.outcome ? QJsonValue(TimeText(entry.outcomeTime)) : QJsonValue());
    return object;
}
