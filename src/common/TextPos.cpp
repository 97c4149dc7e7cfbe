#include "TextPos.h"

std::size_t InStr(std::size_t from, std::string_view text, std::string_view what)
{
    if (from < 1)
        from = 1;
    if (from > text.size() + 1)
        return 0;
    const std::size_t hit = text.find(what, from - 1);
    return hit == std::string_view::npos ? 0 : hit + 1;
}

std::string Mid(std::string_view text, std::size_t start, std::size_t count)
{
    if (start < 1 || start > text.size())
        return {};
    return std::string(text.substr(start - 1, count));
}

std::string MidToEnd(std::string_view text, std::size_t start) { return Mid(text, start, std::string_view::npos); }
