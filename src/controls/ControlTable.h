#pragma once

#include <string>
#include <string_view>
#include <vector>

// The window's controls as designed (ControlRows.h): one entry per control, positions in
// twips relative to the containing control's top-left corner.
enum class ControlKind {
    Button,
    WrappingButton, // caption wraps over several lines; shows its back colour
    Label,
    TextBox,
    MultiLineTextBox,
    Frame,
    OptionButton,
    CheckBox,
    ListBox,
    PictureButton, // picture box used as a button (the refresh symbol)
    TabStrip,
    Animation,
};

enum ControlFlag : unsigned {
    Disabled = 1u << 0,
    Hidden = 1u << 1,
    Locked = 1u << 2,     // no typing; caret and selection still work
    LightGreen = 1u << 3, // back colour red 128, green 255, blue 128
    Selected = 1u << 4,   // option button starts selected
    NoBorder = 1u << 5,   // frame without border or caption: grouping only
};

struct ControlSpec {
    std::string_view name; // object name; arrays as "name(index)"
    ControlKind kind;
    std::string_view parent; // "" = the window's client area
    std::string_view caption;
    int left, top, width, height; // twips
    unsigned flags = 0;
    int maxLength = 0; // text boxes; 0 = no limit
    // What a screen reader says for a control whose caption does not already say it, and
    // the label that stands beside it on the screen (its buddy), if any.
    std::string_view accessibleName = "";
    std::string_view buddy = "";
};

// Every control in creation order (later rows lie above earlier ones).
const std::vector<ControlSpec>& ControlTable();

// The array name with its index, as the table names array members: "txtIPadres(3)".
std::string ArrayName(std::string_view name, int index);

inline constexpr int TwipsPerPixel = 15;
inline constexpr int TwipsToPixels(int twips) { return (twips + TwipsPerPixel / 2) / TwipsPerPixel; }

// The client area as designed, and its width after start-up: the window's outer
// width of 7035 twips less the border leaves 6945, where the Wi-Fi panel begins.
inline constexpr int DesignedClientWidthTwips = 7170;
inline constexpr int ClientWidthTwips = 6945;
inline constexpr int ClientHeightTwips = 9030;
