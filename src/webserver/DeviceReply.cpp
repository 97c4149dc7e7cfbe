#include "DeviceReply.h"

#include "Datagrams.h"

#include "common/TrimmedText.h"

#include <charconv>

namespace {

// "192.168.1.20:80" -> address and port; a port that is not a number in 0..65535 is 0.
void ReadAddressAndPort(std::string_view value, DeviceReply& device)
{
    const auto colon = value.find(':');
    device.address = std::string(TrimmedText(value.substr(0, colon)));
    if (colon == std::string_view::npos)
        return;
    const std::string_view port = TrimmedText(value.substr(colon + 1));
    int number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (error == std::errc() && end == port.data() + port.size() && number >= 0 && number <= 65535)
        device.port = number;
}

} // namespace

std::optional<DeviceReply> ReadDeviceReply(std::string_view datagram)
{
    if (!TavikDatagram::IsWebserverReply(datagram))
        return std::nullopt;
    DeviceReply device;
    // The MAC is read as the window reads it, so both name a device the same way.
    device.mac = TavikDatagram::ReplyMac(datagram);
    std::size_t start = 0;
    while (start < datagram.size()) {
        const auto end = datagram.find_first_of("\r\n", start);
        const std::string_view line = datagram.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? datagram.size() : end + 1;
        // The separator is the first ":" of the line; no label carries one, values may.
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string label(TrimmedText(line.substr(0, colon)));
        const std::string_view value = TrimmedText(line.substr(colon + 1));
        if (label == "MAC Address")
            continue;
        if (label == "Host Name")
            device.hostName = value;
        else if (label == "IP Assignment")
            device.assignment = value;
        else if (label == "IP Address")
            ReadAddressAndPort(value, device);
        else if (label == "SubNet Mask")
            device.mask = value;
        else if (label == "Gateway")
            device.gateway = value;
        else if (label == "DNS Server")
            device.dns = value;
        else if (!label.empty())
            device.extra.emplace_back(label, std::string(value));
    }
    return device;
}
