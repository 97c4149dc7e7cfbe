// A reply listed between two headings, another device's reply after it, and a click anywhere:
// the block reader takes nothing from beyond the clicked reply, reads the reply in the list as
// the command line reads it alone, and a caret selects the reply it stands in.
#include "Check.h"

#include "devices/DeviceReply.h"
#include "devices/ServerBlock.h"

#include <cstdint>
#include <string>

namespace {
const std::string kNext = "Host Name : next\r\nMAC Address : 00:08:DC:FF:FF:FF\r\nIP Assignment : DHCP\r\n"
                          "IP Address : 10.99.99.99:9999\r\nSubNet Mask : 255.255.255.0\r\nGateway : 10.99.99.1\r\n"
                          "DNS Server : 10.99.99.53\r\n";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t caretSeed = data[0] | data[1] << 8;
    const std::string reply(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string first = "\r\nWebserver 1 found:\r\n\r\n", second = "\r\nWebserver 2 found:\r\n\r\n";
    const std::string list = first + reply + second + kNext;
    const std::vector<std::size_t> firsts{first.size() + 1, first.size() + reply.size() + second.size() + 1};
    const ReplySpan span{firsts[0], firsts[1] - second.size() - 1};

    const auto inList = ReadServerBlock(list, span);
    const auto alone = ReadDeviceReply(reply);
    if (alone) {
        Check(inList.has_value());
        Check(alone->mac == inList->mac && alone->dhcp == inList->dhcp
              && alone->address == inList->address.value_or(std::string()));
        const std::string* rows[] = {&alone->mask, &alone->gateway, &alone->dns};
        for (std::size_t row = 0; row < 3; ++row)
            Check(*rows[row] == (inList->rows[row] ? RowAddressText(*inList->rows[row]) : std::string()));
    }
    // Nothing of the next device's reply leaks into this one's values.
    if (inList && reply.find("99") == std::string::npos) {
        Check(inList->mac.find("FF:FF") == std::string::npos || reply.find("FF:FF") != std::string::npos);
        Check(inList->address.value_or("").find("99") == std::string::npos);
        for (const auto& row : inList->rows)
            Check(row.value_or("").find("99") == std::string::npos);
    }

    const std::size_t caret = caretSeed % (list.size() + 1);
    const auto selected = ReplyAtCaret(firsts, caret);
    Check(selected.has_value() == (caret != 0));
    if (selected)
        Check(*selected == (caret + 1 >= firsts[1] ? 1 : 0));
    return 0;
}
