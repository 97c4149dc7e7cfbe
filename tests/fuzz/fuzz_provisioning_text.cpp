// Any SSID and key through the builders of the gateway's command lines and profile: a
// line is refused or carries the text inside its quotes; a document is refused or is
// well-formed XML that gives the SSID back.
// Input: one byte of SSID length, the SSID, then the key.
#include "Check.h"

#include "platform/NetshProvisioningCommands.h"
#include "platform/NmcliProvisioningCommands.h"
#include "wifi/WlanProfileDocument.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t ssidLength = std::min<std::size_t>(data[0], size - 1);
    const std::string ssid(reinterpret_cast<const char*>(data) + 1, ssidLength);
    const std::string key(reinterpret_cast<const char*>(data) + 1 + ssidLength, size - 1 - ssidLength);

    // The Windows line: exactly the two quotes around the name, one line, no NUL.
    if (const auto line = NetshProvisioningCommands().connect(ssid))
        Check(std::ranges::count(*line, '"') == 2 && line->find_first_of(std::string("\r\n\0", 3)) == line->npos);
    if (const auto line = NmcliProvisioningCommands().addProfile("", ssid, key))
        Check(line->find('\0') == line->npos);
    if (const auto document = WlanProfileDocument(ssid, key)) {
        QXmlStreamReader xml(QByteArray::fromStdString(*document));
        QString firstName;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"name" && firstName.isEmpty())
                firstName = xml.readElementText();
        Check(!xml.hasError() && firstName == QString::fromLatin1(ssid.data(), static_cast<qsizetype>(ssid.size())));
    }
    return 0;
}
