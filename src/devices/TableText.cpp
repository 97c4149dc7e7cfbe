#include "TableText.h"

#include <QString>

#include <algorithm>

namespace {

std::string Blanked(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return text;
}

// Characters on the terminal, not bytes of UTF-8.
std::size_t Width(const std::string& utf8) { return static_cast<std::size_t>(QString::fromStdString(utf8).size()); }

} // namespace

std::string FormulaGuarded(std::string cell)
{
    if (!cell.empty() && std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos)
        cell.insert(0, 1, '\'');
    return cell;
}

std::string CsvLine(const std::vector<std::string>& fields, bool guardFormulas)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string field = guardFormulas ? FormulaGuarded(fields[i]) : fields[i];
        line += i ? "," : "";
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (char c : field)
            line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

std::string TsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + Blanked(FormulaGuarded(fields[i]));
    return line + "\n";
}

std::string AlignedRows(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], Width(Blanked(row[i])));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string text;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string cell = Blanked(row[i]);
            text += cell;
            if (i + 1 < row.size())
                text += std::string(widths[i] - Width(cell) + 2, ' ');
        }
        out += text.substr(0, text.find_last_not_of(' ') + 1) + "\n";
    }
    return out;
}
