#pragma once

#include "ControlRows.h"

#include <array>
#include <cstddef>
#include <string_view>

class BusyAnimation;
class PictureButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QWidget;

// The size of each control array: its ITEM rows, or its part of the octet grid.
namespace ControlArrays {
#define HOPTRACE_ROW_SKIPPED(...)
#define HOPTRACE_ITEM_NAME(name, ...) std::string_view(#name),
#define HOPTRACE_GRID_NAMES(labels, boxes, dots)                                                                       \
    std::string_view(#labels), std::string_view(#boxes), std::string_view(#dots)
inline constexpr std::string_view itemNames[] = {
    HOPTRACE_CONTROL_ROWS(HOPTRACE_ROW_SKIPPED, HOPTRACE_ROW_SKIPPED, HOPTRACE_ITEM_NAME, HOPTRACE_ROW_SKIPPED)};
inline constexpr std::string_view gridNames[] = {
    HOPTRACE_CONTROL_ROWS(HOPTRACE_ROW_SKIPPED, HOPTRACE_ROW_SKIPPED, HOPTRACE_ROW_SKIPPED, HOPTRACE_GRID_NAMES)};
#undef HOPTRACE_GRID_NAMES
#undef HOPTRACE_ITEM_NAME
#undef HOPTRACE_ROW_SKIPPED

// Four rows (IP address, mask, gateway, DNS) of four boxes with three "." between them.
inline constexpr int OctetRows = 4;
inline constexpr std::size_t gridSizes[] = {OctetRows, OctetRows * 4, OctetRows * 3};

constexpr std::size_t size(std::string_view name)
{
    std::size_t count = 0;
    for (std::string_view item : itemNames)
        count += item == name ? 1 : 0;
    for (std::size_t part = 0; part < std::size(gridNames); ++part)
        count += gridNames[part] == name ? gridSizes[part] : 0;
    return count;
}
} // namespace ControlArrays

// Typed access to every control of the window, named as the controls are named; the
// members come from the control rows, so a control that is not in them fails to compile.
struct Controls {
#define HOPTRACE_CONTROL_MEMBER(Type, name, ...) Type* name = nullptr;
#define HOPTRACE_ARRAY_MEMBER(Type, name, owner) std::array<Type*, ControlArrays::size(#name)> name{};
#define HOPTRACE_NO_MEMBER(...)
    HOPTRACE_CONTROL_ROWS(HOPTRACE_CONTROL_MEMBER, HOPTRACE_ARRAY_MEMBER, HOPTRACE_NO_MEMBER, HOPTRACE_NO_MEMBER)
#undef HOPTRACE_NO_MEMBER
#undef HOPTRACE_ARRAY_MEMBER
#undef HOPTRACE_CONTROL_MEMBER
};

// Builds every control of the control table as a child of window and binds the
// typed pointers. Object names are the table's names.
Controls BuildControls(QWidget* window);
