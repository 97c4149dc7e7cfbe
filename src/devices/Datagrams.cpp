#include "Datagrams.h"

#include "common/TextPos.h"

namespace TavikDatagram {

namespace {
std::string request(std::string_view keyword) { return std::string(Prefix) + std::string(keyword) + "|"; }
constexpr std::string_view MacLabel = "MAC Address";
} // namespace

std::string ListRequest() { return request("List"); }
std::string RebootRequest() { return request("Reboot"); }
std::string LoadDefaultsRequest() { return request("Default"); }

RequestDatagram DatagramFor(DeviceRequest request)
{
    return request == DeviceRequest::Reboot ? RequestDatagram{RebootRequest(), 2}
                                            : RequestDatagram{LoadDefaultsRequest(), 1};
}

bool IsWebserverReply(std::string_view datagram)
{
    return !datagram.starts_with(Prefix) && datagram.find(MacLabel) != std::string_view::npos;
}

std::string ReplyMac(std::string_view datagram)
{
    const std::size_t p = InStr(1, datagram, MacLabel);
    return p == 0 ? std::string() : Mid(datagram, p + 14, 17);
}

} // namespace TavikDatagram
