#include "SetupPlan.h"

#include "Datagrams.h"
#include "SetupDatagrams.h"

#include "platform/DottedQuad.h"

#include <algorithm>
#include <map>
#include <optional>
#include <regex>

namespace {

struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

// A spreadsheet set to a language that writes decimal commas saves ";" between the fields.
char SeparatorOf(std::string_view header)
{
    return std::count(header.begin(), header.end(), ';') > std::count(header.begin(), header.end(), ',') ? ';' : ',';
}

// The first line that is neither blank nor a comment.
std::string_view HeaderLine(std::string_view text)
{
    while (!text.empty()) {
        const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
        if (!line.starts_with('#') && !Trimmed(line).empty())
            return line;
        text.remove_prefix(std::min(text.size(), line.size() + 1));
    }
    return {};
}

// Records by RFC 4180 with `separator`, each with the line it starts on; comment lines and
// rows of empty fields left out. A quote opens a quoted field only at the field's start, so a
// stray one elsewhere is kept as a character.
std::vector<Record> Records(std::string_view text, char separator, std::vector<PlanProblem>& problems)
{
    std::vector<Record> records;
    std::size_t i = 0;
    int line = 1;
    const auto lineEndAt = [&](std::size_t at) { return text[at] == '\n' || text[at] == '\r'; };
    const auto passLineEnd = [&] {
        i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        ++line;
    };
    while (i < text.size()) {
        Record record{line, {}};
        if (text[i] == '#') {
            while (i < text.size() && !lineEndAt(i))
                ++i;
            if (i < text.size())
                passLineEnd();
            continue;
        }
        std::string field;
        bool quoted = false;
        while (i < text.size() && (quoted || !lineEndAt(i))) {
            const char c = text[i];
            if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                i += 2;
            } else if (c == '"' && (quoted || field.find_first_not_of(" \t") == std::string::npos)) {
                quoted = !quoted;
                field = quoted ? std::string() : field;
                ++i;
            } else if (!quoted && c == separator) {
                record.fields.push_back(Trimmed(field));
                field.clear();
                ++i;
            } else {
                // A line break inside quotes belongs to the field; the line count goes on.
                if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                    ++line;
                field += c;
                ++i;
            }
        }
        if (quoted)
            problems.push_back({record.line, "a quote opened on this line is never closed"});
        record.fields.push_back(Trimmed(field));
        if (i < text.size())
            passLineEnd();
        if (std::any_of(record.fields.begin(), record.fields.end(), [](const std::string& f) { return !f.empty(); }))
            records.push_back(std::move(record));
    }
    return records;
}

bool IsMac(const std::string& text)
{
    static const std::regex mac("[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){5}");
    return std::regex_match(text, mac);
}

std::optional<int> PortNumber(const std::string& text)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

TavikSetup::Octets OctetsOf(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

} // namespace

const std::vector<std::string>& SetupPlan::Columns()
{
    static const std::vector<std::string> columns{"mac", "assignment", "address", "mask", "gateway", "dns", "port"};
    return columns;
}

SetupPlan SetupPlan::Read(std::string_view text)
{
    SetupPlan plan;
    std::vector<PlanProblem>& problems = plan.problems_;
    const auto problem = [&problems](int line, std::string what) { problems.push_back({line, std::move(what)}); };
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::vector<Record> records = Records(text, SeparatorOf(HeaderLine(text)), problems);
    const std::string columnList = "mac, assignment, address, mask, gateway, dns, port";
    if (records.empty()) {
        problem(0, "the plan is empty: a header row naming the columns comes first (" + columnList + ")");
        return plan;
    }

    const Record& header = records.front();
    const std::string missingHeader = "a header row naming the columns comes first (" + columnList
        + "; mac, assignment and port at least)";
    const auto isColumn = [](const std::string& field) {
        return std::find(Columns().begin(), Columns().end(), Lower(field)) != Columns().end();
    };
    // A first row that names no column at all is a row of values: one problem, not one per value.
    if (std::none_of(header.fields.begin(), header.fields.end(), isColumn)) {
        problem(header.line, missingHeader);
        return plan;
    }
    std::map<std::string, std::size_t> columnAt;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = Lower(header.fields[i]);
        if (!isColumn(name))
            problem(header.line, "unknown column \"" + header.fields[i] + "\" (the columns: " + columnList + ")");
        else if (!columnAt.emplace(name, i).second)
            problem(header.line, "the column \"" + name + "\" is named twice");
    }
    bool columnsMissing = false;
    for (const char* required : {"mac", "assignment", "port"})
        if (!columnAt.contains(required)) {
            problem(header.line, "the header has no column \"" + std::string(required) + "\"");
            columnsMissing = true;
        }
    if (columnsMissing)
        return plan;

    std::map<std::string, int> macLines, addressLines;
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const int line = record->line;
        const auto value = [&](const char* column) {
            const auto at = columnAt.find(column);
            return at != columnAt.end() && at->second < record->fields.size() ? record->fields[at->second]
                                                                              : std::string();
        };
        if (record->fields.size() > header.fields.size())
            problem(line,
                    std::to_string(record->fields.size()) + " values, but the header names "
                        + std::to_string(header.fields.size()) + " columns");
        PlanRow row{line, value("mac"), {}};
        ExpectedSettings& settings = row.settings;
        if (!IsMac(row.mac))
            problem(line, "\"" + row.mac + "\" is not a MAC address (six hex pairs joined by \":\")");
        else if (const auto [earlier, added] = macLines.emplace(Lower(row.mac), line); !added)
            problem(line, "MAC " + row.mac + " is also on line " + std::to_string(earlier->second));
        else if (!TavikDatagram::TakesIpSettings(row.mac))
            problem(line, row.mac + " does not take IP settings (its MAC does not begin with 00:08)");

        const std::string assignment = Lower(value("assignment"));
        if (assignment != "dhcp" && assignment != "fixed")
            problem(line, "assignment must be \"dhcp\" or \"fixed\", not \"" + value("assignment") + "\"");
        else
            settings.dhcp = assignment == "dhcp";
        settings.port = PortNumber(value("port"));
        if (settings.port == 0)
            problem(line, "port 0 would leave the device unreachable");
        else if (!settings.port || *settings.port > 60000)
            problem(line, "port must be a whole number from 1 to 60000, not \"" + value("port") + "\"");

        if (settings.dhcp == false) {
            std::optional<std::uint32_t> parsed[4];
            std::string* targets[] = {&settings.address, &settings.mask, &settings.gateway, &settings.dns};
            const char* names[] = {"address", "mask", "gateway", "dns"};
            for (int i = 0; i < 4; ++i) {
                parsed[i] = ParseDottedQuad(value(names[i]));
                if (!parsed[i])
                    problem(line,
                            std::string(names[i]) + " needs four numbers 0-255 joined by \".\", not \""
                                + value(names[i]) + "\"");
                else
                    *targets[i] = DottedQuadText(*parsed[i]);
            }
            // -1: no mask to judge a gateway by.
            const int prefix = parsed[1] ? MaskPrefixLength(settings.mask).value_or(-1) : -1;
            if (parsed[0]
                && TavikSetup::SettingThatCutsOff(1, OctetsOf(*parsed[0])) == TavikSetup::CutOffSetting::Address)
                problem(line, "address " + settings.address + " is no address a device can be reached at");
            else if (parsed[0] && !addressLines.emplace(settings.address, line).second)
                problem(line,
                        "address " + settings.address + " is also on line "
                            + std::to_string(addressLines[settings.address]));
            if (parsed[1] && prefix < 0)
                problem(line, "mask " + settings.mask + " is not contiguous (its ones must come first, in one run)");
            if (parsed[0] && parsed[2] && prefix > 0 && *parsed[2] != 0
                && !OnSameSubnet(settings.address, settings.gateway, settings.mask))
                problem(line,
                        "gateway " + settings.gateway + " is outside the subnet of " + settings.address + "/"
                            + std::to_string(prefix) + " (0.0.0.0 means none)");
        }
        plan.rows_.push_back(std::move(row));
    }
    if (plan.rows_.empty())
        problem(0, "the plan lists no device");
    std::stable_sort(problems.begin(), problems.end(),
                     [](const PlanProblem& a, const PlanProblem& b) { return a.line < b.line; });
    return plan;
}
