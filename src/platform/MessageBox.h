#pragma once

#include <functional>
#include <string>

// Message box with an OK button only, no icon, the application title "Hoptrace". It opens
// modal to the window and returns at once; what follows the user's OK goes in `closed`.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows text (UTF-8); `closed` runs once the user has closed the box.
    virtual void show(const std::string& text, std::function<void()> closed = {}) = 0;
};
