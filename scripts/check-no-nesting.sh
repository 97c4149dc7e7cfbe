#!/bin/sh
# Checks that no handler of the window waits inside itself. Every wait is a step on the event
# loop (a timer, a call's answer from its thread, a box's `closed`), so nothing may run the loop
# again from inside a handler (whatever the user starts meanwhile would nest in it and delay it)
# or block the window's thread. The command line keeps its own plain loop: src/cli and the one
# waiter only it links (platform/qt/QtEventWaiter, platform/EventWaiter.h) are not checked.
# With a build directory as argument, the window's program is also checked not to link that waiter.
set -eu
cd "$(dirname "$0")/.."
found=$(mktemp "${TMPDIR:-/tmp}/hoptrace-nesting.XXXXXX")
trap 'rm -f "$found"' EXIT

sources=$(git ls-files 'src/*.cpp' 'src/*.h' | grep -v -e '^src/cli/' -e '^src/platform/qt/QtEventWaiter\.' \
    -e '^src/platform/EventWaiter\.h$')
# Anywhere: a second event loop, or a call that runs the loop from inside a handler. The one
# exec() allowed is the program's own loop in main(); a line that ends with "// after the event
# loop" runs once the program's loop has ended (the services' destructors); one that ends with
# "// never on the window's thread" runs only where the window hands it to BackgroundCalls or in
# the command line (the commissioning log's wait for its lock).
# shellcheck disable=SC2086 # one word per file
grep -n -E 'processEvents|QEventLoop|yieldOnce|waitForEvent|CallLettingEventsRun|TimedWait|waitFor[A-Z][A-Za-z]*\(|QThread::(m|u)?sleep|[.>]exec\(\)|\bexec\(\)' \
    $sources | grep -v -E "Q(Core)?Application::exec\\(\\)|// after the event loop\$|// never on the window's thread\$" >"$found" || true
# On the window's thread: no blocking waits. The platform's Linux and Windows folders block only
# on threads of their own (the socket's receiver, and the echo and command calls, which the
# window hands to BackgroundCalls), so they are not part of this list.
window_thread=$(echo "$sources" | grep -v -e '^src/platform/linux/' -e '^src/platform/windows/')
# shellcheck disable=SC2086
grep -n -E '(^|[^A-Za-z_.>:])(poll|select|sleep|usleep|nanosleep|Sleep)\(|WaitFor(Single|Multiple)Objects?\(|[.>]wait\(' \
    $window_thread >>"$found" || true

if [ -s "$found" ]; then
    cat "$found" >&2
    echo "check-no-nesting: a handler of the window waits inside itself (above); make the wait a step" \
        "on the event loop: StepWait, BackgroundCalls, or the message box's closed continuation" >&2
    exit 1
fi
if [ $# -gt 0 ] && [ -x "$1/src/hoptrace" ] && command -v nm >/dev/null 2>&1; then
    if nm -C "$1/src/hoptrace" | grep -q QtEventWaiter; then
        echo "check-no-nesting: the window's program links the command line's waiter" >&2
        exit 1
    fi
fi
echo "check-no-nesting: no handler of the window waits inside itself"
