#pragma once

#include "platform/MessageBox.h"

class QtMessageBox final : public MessageBox {
public:
    void show(const std::string& text, std::function<void()> closed) override;
};
