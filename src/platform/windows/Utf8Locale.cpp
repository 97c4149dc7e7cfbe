#include "platform/Utf8Locale.h"

// Windows programs get their code pages from the system, not from the environment.
void UseUtf8LocaleWhereNoneIsSet() { }
