#pragma once

#include <string>
#include <vector>

// The row writers every table the program hands out goes through (the device list, the
// commissioning log, a set-up plan), so that quoting and the formula guard are written once.
//
// Texts come from the network. A spreadsheet runs a cell that begins with "=", "+", "-" or "@"
// (and, in some, a tab or carriage return first) as a formula, so such a cell is written with a
// leading "'": it shows as text and runs nothing.
std::string FormulaGuarded(std::string cell);

// One CSV record by RFC 4180: fields joined by ",", quoted where they hold a comma, a quote or a
// line break (a quote doubled), CR LF at the end. guardFormulas: each field passes
// FormulaGuarded first.
std::string CsvLine(const std::vector<std::string>& fields, bool guardFormulas = true);

// One row for the clipboard: guarded fields joined by tabs, a line feed at the end. A tab or
// line break inside a value becomes a blank, since spreadsheets read pasted text by its tabs
// and line ends alone; each row stays one row.
std::string TsvLine(const std::vector<std::string>& fields);

// Aligned columns for the terminal, the first row a header: each column as wide as its widest
// cell in characters (UTF-8 read as such), two blanks between, no blanks at a line's end. Line
// breaks and tabs inside a cell become blanks.
std::string AlignedRows(const std::vector<std::vector<std::string>>& rows);
