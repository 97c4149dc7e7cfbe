#include "DeviceReply.h"

#include "Datagrams.h"
#include "ServerBlock.h"

#include "common/TrimmedText.h"

#include <algorithm>
#include <cmath>

namespace {

// A port as the window's box would take it from the reply: a whole number in 0..65535, else 0.
int PortNumber(std::optional<double> port)
{
    if (!port || !(*port >= 0 && *port <= 65535) || *port != std::floor(*port))
        return 0;
    return static_cast<int>(*port);
}

} // namespace

std::string RowAddressText(std::string_view rowValue)
{
    std::size_t count = 0;
    const std::array<std::string, 4> pieces = AddressPieces(rowValue, count);
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += (i ? "." : "") + pieces[i];
    return text;
}

std::optional<DeviceReply> ReadDeviceReply(std::string_view datagram)
{
    if (!TavikDatagram::IsWebserverReply(datagram))
        return std::nullopt;
    // The values a selection in the window reads, by the same rules, so that both name a
    // device and its settings alike whatever shape its reply has.
    const std::optional<ServerBlockValues> block = ReadServerBlock(datagram, {1, datagram.size()});
    if (!block)
        return std::nullopt;
    DeviceReply device;
    device.mac = block->mac;
    device.dhcp = block->dhcp;
    device.address = block->address.value_or(std::string());
    device.port = PortNumber(block->port);
    std::string* rows[] = {&device.mask, &device.gateway, &device.dns};
    for (std::size_t row = 0; row < block->rows.size(); ++row)
        *rows[row] = block->rows[row] ? RowAddressText(*block->rows[row]) : std::string();

    // The rest, for listing: the host name, the assignment as the device words it, and every
    // line the window does not read.
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
        if (label == "Host Name")
            device.hostName = value;
        else if (label == "IP Assignment")
            device.assignment = value;
        else if (!label.empty() && label != "MAC Address" && label != "IP Address"
                 && std::ranges::find(kRowLabels, label) == kRowLabels.end())
            device.extra.emplace_back(label, std::string(value));
    }
    return device;
}
