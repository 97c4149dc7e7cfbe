#include "CommandRequest.h"

#include "Datagrams.h"
#include "SetupDatagrams.h"

#include <array>
#include <utility>

CommandRequest UnicastCommandFor(CommandKind kind, const std::string& mac, const std::string& address,
                                 int interfaceIndex, const std::optional<DeviceReply>& listed)
{
    const bool reboot = kind == CommandKind::Reboot;
    const TavikDatagram::RequestDatagram request = TavikDatagram::DatagramFor(
        reboot ? TavikDatagram::DeviceRequest::Reboot : TavikDatagram::DeviceRequest::LoadDefaults);
    CommandRequest command{.kind = reboot ? CommandKind::Reboot : CommandKind::LoadDefaults,
                           .mac = mac,
                           .address = address,
                           .interfaceIndex = interfaceIndex,
                           .listed = listed,
                           .datagram = request.bytes,
                           .copies = request.copies,
                           .expected = {},
                           .alsoUnicastTo = {}};
    if (reboot) {
        command.expected.address = address;
        if (listed)
            command.expected.port = listed->port;
    }
    return command;
}

CommandRequest SetupCommandFor(const std::string& mac, const std::string& address, int interfaceIndex,
                               const std::optional<DeviceReply>& listed, const std::string& datagram)
{
    const bool dhcp = TavikSetup::ParseSetDHCP(datagram).has_value();
    return {.kind = dhcp ? CommandKind::SetDHCP : CommandKind::SetIP,
            .mac = mac,
            .address = address,
            .interfaceIndex = interfaceIndex,
            .listed = listed,
            .datagram = datagram,
            .expected = SettingsSentIn(datagram).value_or(ExpectedSettings{}),
            .alsoUnicastTo = {}};
}

namespace {
constexpr std::array<std::pair<CommandKind, std::string_view>, 4> kNames{{
    {CommandKind::Reboot, "reboot"},
    {CommandKind::LoadDefaults, "load-defaults"},
    {CommandKind::SetIP, "set-ip"},
    {CommandKind::SetDHCP, "set-dhcp"},
}};
} // namespace

std::string_view CommandKindName(CommandKind kind)
{
    for (const auto& [value, name] : kNames)
        if (value == kind)
            return name;
    return {};
}

std::optional<CommandKind> CommandKindNamed(std::string_view name)
{
    for (const auto& [value, text] : kNames)
        if (text == name)
            return value;
    return std::nullopt;
}
