#include "ControlTable.h"

#include "ControlRows.h"
#include "Controls.h"

#include <array>
#include <deque>
#include <string>

namespace {

// Names built for the octet grid must outlive the table's string_views.
std::string_view keep(std::string name)
{
    static std::deque<std::string> names;
    return names.emplace_back(std::move(name));
}

void addOctetGrid(std::vector<ControlSpec>& table, std::string_view labels, std::string_view boxes,
                  std::string_view dots)
{
    // Four rows of four boxes: caption at the left, "." labels between the boxes.
    static constexpr std::array<std::string_view, ControlArrays::OctetRows> rowCaptions = {"IP address", "Subnetmask",
                                                                                           "Gateway", "DNS address"};
    static constexpr std::array<std::string_view, ControlArrays::OctetRows> spokenRows = {"IP address", "Subnet mask",
                                                                                          "Gateway", "DNS address"};
    constexpr int firstTop = 300, rowStep = 420, boxLeft = 1380, boxStep = 630, boxWidth = 435;
    for (int row = 0; row < ControlArrays::OctetRows; ++row) {
        const int top = firstTop + row * rowStep;
        const std::string_view label = keep(ArrayName(labels, row));
        table.push_back({label, ControlKind::Label, "fraIP", rowCaptions[row], 120, top + 30, 1200, 210});
        for (int octet = 0; octet < 4; ++octet) {
            const int left = boxLeft + octet * boxStep;
            const std::string_view spoken = keep(std::string(spokenRows[row]) + ", octet " + std::to_string(octet + 1)
                                                 + " of 4");
            table.push_back({keep(ArrayName(boxes, row * 4 + octet)), ControlKind::TextBox, "fraIP", "", left, top,
                             boxWidth, 285, 0, 3, spoken, octet == 0 ? label : std::string_view()});
            if (octet < 3)
                table.push_back({keep(ArrayName(dots, row * 3 + octet)), ControlKind::Label, "fraIP", ".",
                                 left + boxWidth + 45, top + 30, 120, 210});
        }
    }
}

std::vector<ControlSpec> buildTable()
{
    std::vector<ControlSpec> t;
#define HOPTRACE_CONTROL_ENTRY(Type, name, owner, Kind, parent, caption, left, top, width, height, ...)                \
    t.push_back({#name, ControlKind::Kind, #parent, caption, left, top, width, height __VA_OPT__(, ) __VA_ARGS__});
#define HOPTRACE_NO_ENTRY(...)
#define HOPTRACE_ITEM_ENTRY(name, index, Kind, parent, caption, left, top, width, height, ...)                         \
    t.push_back({#name "(" #index ")", ControlKind::Kind, #parent, caption, left, top, width,                          \
                 height __VA_OPT__(, ) __VA_ARGS__});
#define HOPTRACE_GRID_ENTRIES(labels, boxes, dots) addOctetGrid(t, #labels, #boxes, #dots);
    HOPTRACE_CONTROL_ROWS(HOPTRACE_CONTROL_ENTRY, HOPTRACE_NO_ENTRY, HOPTRACE_ITEM_ENTRY, HOPTRACE_GRID_ENTRIES)
#undef HOPTRACE_GRID_ENTRIES
#undef HOPTRACE_ITEM_ENTRY
#undef HOPTRACE_NO_ENTRY
#undef HOPTRACE_CONTROL_ENTRY
    return t;
}

} // namespace

std::string ArrayName(std::string_view name, int index)
{
    return std::string(name) + "(" + std::to_string(index) + ")";
}

const std::vector<ControlSpec>& ControlTable()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}
