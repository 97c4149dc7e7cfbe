// Any bytes as a commissioning log: each non-blank line is an entry, an outcome or skipped, never
// more; and the entries read, written out again as log lines, read back the same (to the second,
// as the log writes its times).
#include "devices/CommissioningLog.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

namespace {
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const LogReading reading = ReadLog(bytes);
    qsizetype lines = 0;
    for (const QByteArray& line : bytes.split('\n'))
        lines += line.trimmed().isEmpty() ? 0 : 1;
    Check(reading.skipped >= 0 && static_cast<qsizetype>(reading.entries.size()) + reading.skipped <= lines);

    QByteArray again;
    for (const LogEntry& entry : reading.entries) {
        QJsonObject object = LogEntryObject(entry);
        object.insert("kind", "sent");
        again += QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    }
    const LogReading reread = ReadLog(again);
    Check(reread.skipped == 0 && reread.entries.size() == reading.entries.size());
    for (std::size_t i = 0; i < reading.entries.size(); ++i) {
        const CommissioningRecord &a = reading.entries[i].record, &b = reread.entries[i].record;
        Check(reread.entries[i].id == reading.entries[i].id && a.time.toSecsSinceEpoch() == b.time.toSecsSinceEpoch()
              && a.mac == b.mac && a.hostName == b.hostName && a.command == b.command
              && a.sent.address == b.sent.address && a.before.port == b.before.port);
    }
    return 0;
}
