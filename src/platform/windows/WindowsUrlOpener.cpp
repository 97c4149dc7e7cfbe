#include "WindowsUrlOpener.h"

#include <windows.h>
#include <shellapi.h>

// The shell hands the address to the default browser. Some handlers use COM; the Qt
// GUI thread this runs on has it initialised already.
void WindowsUrlOpener::open(const std::string& url)
{
    ShellExecuteA(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
