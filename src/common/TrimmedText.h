#pragma once

#include <string_view>

// The text without the characters of `blanks` at either end; empty when it holds nothing else.
std::string_view TrimmedText(std::string_view text, std::string_view blanks = " \t");
