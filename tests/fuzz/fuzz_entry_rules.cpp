// Any text written into any octet box and into the port box: what the box then holds must
// be a value its rules admit.
#include "FuzzApplication.h"

#include "common/LeadingNumber.h"
#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"

#include <QLineEdit>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    static OctetBoxRules::Boxes boxes = [] {
        OctetBoxRules::Boxes made{};
        for (QLineEdit*& box : made)
            box = new QLineEdit;
        return made;
    }();
    static OctetBoxRules octetRules(boxes);
    static QLineEdit port;
    static PortBoxRules portRules(port);
    if (size < 1)
        return 0;

    const int box = data[0] % OctetBoxRules::BoxCount;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    boxes[box]->setText(OctetBoxRules::textForWrite(text, box));
    port.setText(PortBoxRules::textForWrite(LeadingNumber(text.toStdString())));
    const double octet = LeadingNumber(boxes[box]->text().toStdString());
    const double portValue = LeadingNumber(port.text().toStdString());
    if (!(octet >= 0 && octet <= 255) || (OctetBoxRules::isLastOfRow(box) && octet == 255)
        || !(portValue >= 0 && portValue <= 60000))
        std::abort();
    return 0;
}
