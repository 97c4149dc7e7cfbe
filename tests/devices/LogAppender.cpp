// One of two programs appending to one log at once: PATH COUNT TAG appends host names TAG-0, TAG-1, ...
#include "devices/CommissioningLog.h"

#include <cstdlib>
#include <string>

int main(int argc, char* argv[])
{
    const CommissioningLog log(QString::fromLocal8Bit(argc == 4 ? argv[1] : ""));
    CommissioningRecord record = StampedRecord("log-appender", CommandKind::Reboot);
    for (int i = 0; argc == 4 && i < std::atoi(argv[2]); ++i) {
        record.hostName = std::string(argv[3]) + "-" + std::to_string(i);
        if (!log.appendSent(record).ok())
            return 1;
    }
    return argc == 4 ? 0 : 2;
}
