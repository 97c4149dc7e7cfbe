#pragma once

#include <string_view>
#include <vector>

// What a screen reader says for each control whose caption does not already say it,
// and the label that stands beside it on the screen (its buddy), if any.
struct AccessibleNameSpec {
    std::string_view control; // object name, as in the control table
    std::string_view name;
    std::string_view label = "";
};

const std::vector<AccessibleNameSpec>& AccessibleNames();
