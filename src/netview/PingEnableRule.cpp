#include "PingEnableRule.h"

#include "common/LeadingNumber.h"

bool PingButtonEnabledFor(std::string_view text)
{
    int parts = 0;
    while (true) {
        const std::size_t dot = text.find('.');
        const double value = LeadingNumber(text.substr(0, dot));
        if (value < 0 || value > 255)
            return false;
        ++parts;
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return parts == 4;
}
