#pragma once

#include <string_view>

// The numeric value of the number at the start of a text, as the program reads
// every typed number: blanks, tabs and line feeds are skipped wherever they stand,
// then sign, digits, "." and fraction, exponent (E or D). No number gives 0.
double LeadingNumber(std::string_view text);
