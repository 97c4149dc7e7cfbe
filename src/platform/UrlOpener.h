#pragma once

#include <string>

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Opens url in the default web browser; failures are not reported.
    virtual void open(const std::string& url) = 0;
};
