#pragma once

#include <optional>
#include <string>
#include <string_view>

// The address in its plain dotted form when text is four decimal numbers from 0 to
// 255 (one to three digits each) joined by ".", and nothing otherwise. Leading zeros
// are read as decimal and dropped, so "010" means 10 and never the octal 8 that the
// C library's address parsers would make of it. No blanks or signs are accepted.
std::optional<std::string> NormalizedDottedIPv4(std::string_view text);
