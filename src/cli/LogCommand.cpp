#include "LogCommand.h"

#include "CliCommands.h"

#include "devices/CommissioningLog.h"
#include "devices/LogListing.h"

#include <iostream>

int PrintCommissioningLog(const QString& path, ListingFormat format, const QDateTime& since, const std::string& mac)
{
    const LogReading reading = ReadLogFile(path);
    if (!reading.error.empty()) {
        std::cerr << reading.error << "\n";
        return ExitNotFoundOrNotApplied;
    }
    if (reading.skipped > 0)
        std::cerr << "hoptrace-cli: " << reading.skipped << " damaged line(s) of " << path.toStdString()
                  << " skipped\n";
    const std::vector<LogEntry> entries = FilterLog(reading.entries, since, mac);
    if (entries.empty())
        std::cerr << "No command in " << path.toStdString() << (since.isValid() || !mac.empty() ? " matches" : "")
                  << ".\n";
    std::cout << FormatLog(entries, format) << std::flush;
    return ExitOk;
}
