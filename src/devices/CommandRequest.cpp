#include "CommandRequest.h"

#include "Datagrams.h"
#include "SetupDatagrams.h"

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
                           .expected = {}};
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
            .expected = SettingsSentIn(datagram).value_or(ExpectedSettings{})};
}

std::string CommandName(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Reboot:
        return "Reboot";
    case CommandKind::LoadDefaults:
        return "Load defaults";
    case CommandKind::SetIP:
        return "SetIP";
    case CommandKind::SetDHCP:
        return "SetDHCP";
    }
    return {};
}
