#pragma once

#include <string>

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Opens url with the desktop's handler for it: a web address in the default browser, a
    // folder's file URL in the file manager. Failures are not reported.
    virtual void open(const std::string& url) = 0;
};
