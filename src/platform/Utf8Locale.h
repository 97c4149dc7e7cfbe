#pragma once

// Called first thing in main(), before the application object exists. The program reads and
// writes text as UTF-8, and Qt warns on every start where the caller's locale is not UTF-8:
// LANG unset, "C" or "POSIX" (root shells, su, ssh, CI, a minimal system), or a locale that is
// not installed. Such a caller's program gets C.UTF-8, which the C library always has; a UTF-8
// locale of the user's own is left as it is. Windows has no such setting: nothing to do there.
void UseUtf8LocaleWhereNoneIsSet();
