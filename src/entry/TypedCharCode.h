#pragma once

#include <optional>

class QKeyEvent;

// The character code a key press types into a text box, or nothing for keys that
// type no character (arrows, Delete, Home/End, Tab, Escape, function keys, bare
// modifiers, Alt combinations). Ctrl with a letter gives the control codes 1..26
// (Ctrl+A = 1, Ctrl+C = 3, Ctrl+V = 22, Ctrl+X = 24), Backspace 8, Enter 13.
// The entry boxes filter on this code, so keys without one always reach the box.
std::optional<int> TypedCharCode(const QKeyEvent& event);
