#include "LeadingNumber.h"

#include <cstdlib>
#include <string>

namespace {
bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

double LeadingNumber(std::string_view text)
{
    // Collect the characters that form the number, leaving out the skipped ones,
    // then let strtod convert the clean text (D exponent rewritten as E).
    std::string number;
    std::size_t i = 0;
    auto next = [&]() -> char {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
        return i < text.size() ? text[i] : '\0';
    };

    if (char c = next(); c == '+' || c == '-') {
        number += c;
        ++i;
    }
    bool anyDigit = false;
    while (isDigit(next())) {
        number += text[i++];
        anyDigit = true;
    }
    if (next() == '.') {
        number += '.';
        ++i;
        while (isDigit(next())) {
            number += text[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;

    if (char c = next(); c == 'E' || c == 'e' || c == 'D' || c == 'd') {
        std::string exponent = "E";
        ++i;
        if (char s = next(); s == '+' || s == '-') {
            exponent += s;
            ++i;
        }
        bool expDigit = false;
        while (isDigit(next())) {
            exponent += text[i++];
            expDigit = true;
        }
        if (expDigit)
            number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}
