#!/bin/sh
# Checks that every C++ source is formatted as .clang-format says; with --fix, formats them.
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    # shellcheck disable=SC2086 # one word per file
    clang-format -i $files
    exit 0
fi
# shellcheck disable=SC2086
if ! clang-format --dry-run -Werror $files 2>/tmp/hoptrace-format.$$; then
    grep -m 20 'error:' /tmp/hoptrace-format.$$ >&2 || true
    rm -f /tmp/hoptrace-format.$$
    echo "check-format: sources differ from .clang-format; fix them with: scripts/check-format.sh --fix" >&2
    exit 1
fi
rm -f /tmp/hoptrace-format.$$
echo "check-format: every source follows .clang-format"
