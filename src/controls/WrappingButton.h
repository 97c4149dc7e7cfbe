#pragma once

#include <QPushButton>

// A button whose caption wraps over several lines, like the connect button's long caption.
class WrappingButton final : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
