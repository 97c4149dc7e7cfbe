#pragma once

#include <string>
#include <string_view>

// Text positions as the program's rules count them: from 1, with 0 for "none".

// Position of the first exact match of what in text at or after position from
// (1-based), or 0. A from past the end finds nothing; an empty what is found at from.
std::size_t InStr(std::size_t from, std::string_view text, std::string_view what);

// The count characters of text starting at 1-based position start; fewer when
// the text ends earlier, empty when start lies past the end.
std::string Mid(std::string_view text, std::size_t start, std::size_t count);

// Everything from 1-based position start to the end.
std::string MidToEnd(std::string_view text, std::size_t start);
