#include "ExpectedSettings.h"

#include "DeviceReply.h"
#include "SetupDatagrams.h"

#include <QString>

bool Matches(const DeviceReply& reply, const ExpectedSettings& expected)
{
    auto same = [](const std::string& want, const std::string& have) { return want.empty() || want == have; };
    return (!expected.dhcp || expected.dhcp == reply.dhcp) && same(expected.address, reply.address)
        && same(expected.mask, reply.mask) && same(expected.gateway, reply.gateway) && same(expected.dns, reply.dns)
        && (!expected.port || *expected.port == reply.port);
}

bool SameMac(std::string_view a, std::string_view b)
{
    return QString::fromLatin1(a.data(), qsizetype(a.size()))
               .compare(QString::fromLatin1(b.data(), qsizetype(b.size())), Qt::CaseInsensitive)
        == 0;
}

std::optional<ExpectedSettings> SettingsSentIn(std::string_view request)
{
    using TavikSetup::DottedText;
    ExpectedSettings sent;
    if (const auto setIP = TavikSetup::ParseSetIP(request)) {
        sent.dhcp = false;
        sent.address = DottedText(setIP->address);
        sent.mask = DottedText(setIP->mask);
        sent.gateway = DottedText(setIP->gateway);
        sent.dns = DottedText(setIP->dns);
        sent.port = setIP->port;
    } else if (const auto setDHCP = TavikSetup::ParseSetDHCP(request)) {
        sent.dhcp = true;
        sent.port = setDHCP->port;
    } else {
        return std::nullopt;
    }
    return sent;
}
