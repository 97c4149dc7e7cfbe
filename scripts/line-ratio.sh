#!/bin/sh
# Prints how many lines of tests there are per line of program: every text line under
# tests/ (fuzz targets and their seeds included) against every line under src/ and tools/.
set -eu
cd "$(dirname "$0")/.."
count() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -co --exclude-standard -- "$@"
    else
        find "$@" -type f
    fi | while IFS= read -r f; do
        [ -f "$f" ] && grep -Iq . "$f" && cat "$f"
    done | wc -l
}
tests=$(count tests)
program=$(count src tools)
awk -v t="$tests" -v p="$program" 'BEGIN { printf "test/code lines: %d / %d = %.2f\n", t, p, t / p }'
