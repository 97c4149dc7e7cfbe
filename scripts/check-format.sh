#!/bin/sh
# Checks that every C++ source is formatted as .clang-format says; with --fix, formats them.
# One major version of clang-format for everyone: each major version formats some constructs
# differently, so another one would report "violations" in sources this one accepts. Debian 12
# and 13 both ship clang-format-19 (scripts/install-deps.sh installs it).
set -eu
cd "$(dirname "$0")/.."
format=clang-format-19
if ! command -v "$format" >/dev/null 2>&1; then
    echo "check-format: $format is not installed (scripts/install-deps.sh test installs it)" >&2
    exit 1
fi
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    # shellcheck disable=SC2086 # one word per file
    "$format" -i $files
    exit 0
fi
report=$(mktemp "${TMPDIR:-/tmp}/hoptrace-format.XXXXXX")
trap 'rm -f "$report"' EXIT
# shellcheck disable=SC2086
if ! "$format" --dry-run -Werror $files 2>"$report"; then
    grep -m 20 'error:' "$report" >&2 || true
    echo "check-format: sources differ from .clang-format ($format); fix them with: scripts/check-format.sh --fix" >&2
    exit 1
fi
echo "check-format: every source follows .clang-format ($format)"
