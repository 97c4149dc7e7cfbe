#include "CommissioningRecord.h"

#include "DeviceReply.h"

#include "common/Latin1.h"

#include <QSysInfo>

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<LoggedCommand, std::string_view>, 4> kNames{{
    {LoggedCommand::Reboot, "reboot"},
    {LoggedCommand::LoadDefaults, "load-defaults"},
    {LoggedCommand::SetIp, "set-ip"},
    {LoggedCommand::SetDhcp, "set-dhcp"},
}};

std::string Utf8(const std::string& bytes) { return AnsiBytesToText(bytes).toStdString(); }
} // namespace

std::string_view LoggedCommandName(LoggedCommand command)
{
    for (const auto& [value, name] : kNames)
        if (value == command)
            return name;
    return {};
}

std::optional<LoggedCommand> LoggedCommandNamed(std::string_view name)
{
    for (const auto& [value, text] : kNames)
        if (text == name)
            return value;
    return std::nullopt;
}

CommissioningRecord StampedRecord(std::string program, LoggedCommand command)
{
    CommissioningRecord record;
    record.time = QDateTime::currentDateTime();
    record.program = std::move(program);
    record.version = HOPTRACE_VERSION_TEXT;
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
