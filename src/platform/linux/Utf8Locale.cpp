#include "platform/Utf8Locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

void UseUtf8LocaleWhereNoneIsSet()
{
    // Asked the way Qt asks: the locale the environment names, and its character set.
    const bool installed = std::setlocale(LC_ALL, "") != nullptr;
    const bool utf8 = installed && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_ALL, "C"); // Qt takes the locale from the environment itself
    if (!utf8)
        setenv("LC_ALL", "C.UTF-8", 1);
}
