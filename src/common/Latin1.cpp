#include "Latin1.h"

#include <array>

QString BytesToText(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string TextToBytes(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text)
        bytes += c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?';
    return bytes;
}

QChar AnsiByteToChar(char byte)
{
    // Windows-1252 differs from Latin-1 only in 0x80..0x9F; its five unassigned
    // codes keep their Latin-1 control characters, as the platform shows them.
    static constexpr std::array<char16_t, 32> cp1252High = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    const auto u = static_cast<unsigned char>(byte);
    return (u >= 0x80 && u <= 0x9F) ? QChar(cp1252High[u - 0x80]) : QChar(u);
}

QString AnsiBytesToText(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char b : bytes)
        text += AnsiByteToChar(b);
    return text;
}
