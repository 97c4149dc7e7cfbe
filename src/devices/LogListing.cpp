#include "LogListing.h"

#include "CommissioningLog.h"
#include "TableText.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString TimeText(const QDateTime& time)
{
    return time.isValid() ? time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate) : QString();
}

std::string Assignment(const ExpectedSettings& s) { return !s.dhcp ? "" : *s.dhcp ? "dhcp" : "fixed"; }

std::vector<std::string> SettingsCells(const ExpectedSettings& s)
{
    return {Assignment(s), s.address, s.port ? std::to_string(*s.port) : "", s.mask, s.gateway, s.dns};
}

// "fixed 192.168.1.20:80 mask 255.255.255.0 gateway 192.168.1.1 dns 192.168.1.1", the parts known.
std::string Summary(const ExpectedSettings& s)
{
    std::string text = Assignment(s);
    const auto add = [&text](const std::string& part) { text += (text.empty() || part.empty() ? "" : " ") + part; };
    add(s.address + (s.port ? ":" + std::to_string(*s.port) : ""));
    const std::pair<const char*, const std::string*> rows[] = {
        {"mask ", &s.mask}, {"gateway ", &s.gateway}, {"dns ", &s.dns}};
    for (const auto& [label, value] : rows)
        add(value->empty() ? "" : label + *value);
    return text;
}

std::string Outcome(const LogEntry& entry) { return entry.outcome ? std::string(OutcomeName(*entry.outcome)) : ""; }

} // namespace

std::string FormatLog(const std::vector<LogEntry>& entries, ListingFormat format)
{
    if (format == ListingFormat::Json) {
        QJsonArray array;
        for (const LogEntry& entry : entries)
            array.append(LogEntryObject(entry));
        return QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
    }
    if (format == ListingFormat::Csv || format == ListingFormat::CsvFile || format == ListingFormat::Tsv) {
        std::vector<std::string> header{"id",   "time",    "program", "version",   "pc",
                                        "user", "adapter", "mac",     "host_name", "command"};
        for (const char* side : {"before_", "sent_"})
            for (const char* key : {"assignment", "address", "port", "mask", "gateway", "dns"})
                header.push_back(side + std::string(key));
        header.insert(header.end(), {"outcome", "outcome_time"});
        const auto line = [format](const std::vector<std::string>& fields) {
            return format == ListingFormat::Tsv ? TsvLine(fields) : CsvLine(fields);
        };
        std::string out = (format == ListingFormat::CsvFile ? "\xEF\xBB\xBF" : "") + line(header);
        for (const LogEntry& e : entries) {
            const CommissioningRecord& r = e.record;
            std::vector<std::string> row{e.id,       TimeText(r.time).toStdString(),
                                         r.program,  r.version,
                                         r.pcName,   r.userName,
                                         r.adapter,  r.mac,
                                         r.hostName, std::string(CommandKindName(r.command))};
            for (const ExpectedSettings* settings : {&r.before, &r.sent})
                for (std::string& cell : SettingsCells(*settings))
                    row.push_back(std::move(cell));
            row.insert(row.end(), {Outcome(e), TimeText(e.outcomeTime).toStdString()});
            out += line(row);
        }
        return out;
    }
    std::vector<std::vector<std::string>> rows{
        {"TIME", "PROGRAM", "USER", "PC", "ADAPTER", "MAC", "HOST", "COMMAND", "BEFORE", "SENT", "OUTCOME"}};
    for (const LogEntry& e : entries) {
        const CommissioningRecord& r = e.record;
        rows.push_back({TimeText(r.time).toStdString(), r.program + " " + r.version, r.userName, r.pcName, r.adapter,
                        r.mac, r.hostName, std::string(CommandKindName(r.command)), Summary(r.before), Summary(r.sent),
                        e.outcome ? Outcome(e) : "(none yet)"});
    }
    return AlignedRows(rows);
}
