#pragma once

#include "platform/UrlOpener.h"

class QtUrlOpener final : public UrlOpener {
public:
    void open(const std::string& url) override;
};
