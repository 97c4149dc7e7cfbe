#pragma once

#include <string>

// Modal message box: OK button only, no icon, the application title "Hoptrace".
class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows text (UTF-8) and returns when the user has closed the box.
    virtual void show(const std::string& text) = 0;
};
