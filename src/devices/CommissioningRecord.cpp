#include "CommissioningRecord.h"

#include "DeviceReply.h"

#include "common/Latin1.h"

#include <QSysInfo>

#include <utility>

namespace {
std::string Utf8(const std::string& bytes) { return AnsiBytesToText(bytes).toStdString(); }
} // namespace

CommissioningRecord StampedRecord(std::string program, CommandKind command)
{
    CommissioningRecord record;
    record.time = QDateTime::currentDateTime();
    record.program = std::move(program);
    record.version = std::to_string(HOPTRACE_VERSION_MAJOR) + "." + std::to_string(HOPTRACE_VERSION_MINOR) + "."
        + std::to_string(HOPTRACE_VERSION_PATCH);
    record.pcName = QSysInfo::machineHostName().toStdString();
    // Windows names the user in USERNAME, the others in USER.
    const QString user = qEnvironmentVariable("USER");
    record.userName = (user.isEmpty() ? qEnvironmentVariable("USERNAME") : user).toStdString();
    record.command = command;
    return record;
}

ExpectedSettings SettingsListed(const DeviceReply& reply)
{
    return {reply.dhcp, Utf8(reply.address), Utf8(reply.mask), Utf8(reply.gateway), Utf8(reply.dns), reply.port};
}
