// Any bytes as a commissioning log: each non-blank line is an entry, an outcome or skipped, never
// more; and the entries read, written out again as log lines, read back the same (to the second,
// as the log writes its times).
#include "Check.h"

#include "devices/CommissioningLog.h"

#include <QJsonDocument>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const LogReading reading = ReadLog(bytes);
    const auto lines = bytes.count('\n') + 1;
    Check(reading.skipped >= 0 && static_cast<qsizetype>(reading.entries.size()) + reading.skipped <= lines);

    // The command's own keys, as its line holds them.
    const auto commandKeys = [](const LogEntry& entry) {
        QJsonObject object = LogEntryObject(entry);
        object.remove("outcome");
        object.remove("outcome_time");
        return object;
    };
    QByteArray again;
    for (const LogEntry& entry : reading.entries) {
        QJsonObject line = commandKeys(entry);
        line.insert("kind", "sent");
        again += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    }
    const LogReading reread = ReadLog(again);
    Check(reread.skipped == 0 && reread.entries.size() == reading.entries.size());
    for (std::size_t i = 0; i < reading.entries.size(); ++i)
        Check(commandKeys(reread.entries[i]) == commandKeys(reading.entries[i]));
    return 0;
}
