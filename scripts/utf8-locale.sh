# Sourced (sh or bash) by the scripts that start the program. Qt 6.8 prints a warning on every
# start when the locale's character set is not UTF-8: LANG unset, "C" or "POSIX" (root shells,
# su, CI, a minimal system), or a locale that is not installed. The program assumes UTF-8, as
# every current desktop has it, so such a caller's program gets C.UTF-8, which glibc always has.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    LC_ALL=C.UTF-8
    export LC_ALL
fi
