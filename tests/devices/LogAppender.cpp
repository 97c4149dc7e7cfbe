// Appends COUNT command lines to the commissioning log at PATH, the host name TAG-<n>: one of
// two programs writing the log at once. Exit 1 when an append fails.
#include "devices/CommissioningLog.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const CommissioningLog log(QString::fromLocal8Bit(argv[1]));
    CommissioningRecord record = StampedRecord("log-appender", CommandKind::Reboot);
    for (int i = 0, count = std::atoi(argv[2]); i < count; ++i) {
        record.hostName = std::string(argv[3]) + "-" + std::to_string(i);
        if (const LogWrite write = log.appendSent(record); !write.ok()) {
            std::cerr << write.error << "\n";
            return 1;
        }
    }
    return 0;
}
