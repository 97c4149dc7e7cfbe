#pragma once

#include "platform/MessageBox.h"

class QWidget;

class QtMessageBox final : public MessageBox {
public:
    void show(const std::string& text) override;
};
