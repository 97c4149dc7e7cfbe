#pragma once

#include "platform/UrlOpener.h"

// The shell's default handler for the address (ShellExecuteA).
class WindowsUrlOpener final : public UrlOpener {
public:
    void open(const std::string& url) override;
};
