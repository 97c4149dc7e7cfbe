#!/bin/sh
# The demo as a user runs it: the program and the simulator in the simulated LAN, on an X
# display. However the window ends - a close request, destroyed by another X client, Ctrl-C
# in the terminal, the display lost - the demo must end, leaving no process and no namespace.
# Usage: demo-leaves-nothing.sh SIMLAN SIMULATOR PROGRAM. Exit 77 (skip) where no display server
# or no private namespace is available, except under CI=true.
set -u
simlan=$1 sim=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/demo-test.XXXXXX")
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT

skip() { echo "SKIP: $*"; [ "${CI:-}" = true ] && exit 1; exit 77; }
fail() { echo "FAIL: $*"; failed=1; }
for tool in Xvfb xdotool python3; do command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"; done
"$simlan" --check || skip "no private network namespace can be made here"

start_display() {
    rm -f "$work/display"
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    i=0
    while [ ! -s "$work/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$work/display" ] || skip "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

# The network and PID namespaces of the demo session's processes, this machine's own left out.
demo_namespaces() {
    own="$(readlink /proc/self/ns/net) $(readlink /proc/self/ns/pid)"
    for p in /proc/[0-9]*; do
        [ "$(cut -d' ' -f6 "$p/stat" 2>/dev/null)" = "$1" ] || continue
        for ns in "$p/ns/net" "$p/ns/pid"; do
            n=$(readlink "$ns" 2>/dev/null) || continue
            case " $own " in *" $n "*) ;; *) echo "$n" ;; esac
        done
    done | sort -u
}

# Namespace numbers are reused: only a process started while the demo ran can be one it left.
ticks() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%d\n", $1 * hz }' /proc/uptime; }
started_while_demo_ran() { s=$(sed 's/.*) //' "$1/stat" 2>/dev/null | cut -d' ' -f20) && [ "$s" -ge "$from" ] && [ "$s" -le "$to" ]; }
failed=0
# A library launches a session bus where none is set; the demo must not let one outlive it.
unset DBUS_SESSION_BUS_ADDRESS
for ending in close-request destroyed interrupt display-lost; do
    start_display
    from=$(ticks)
    # A job started with & ignores SIGINT; a demo started from a terminal does not.
    setsid env --default-signal=INT "$simlan" --sim "$sim" --sim-log "$work/sim.log" -- "$program" >"$work/demo.log" 2>&1 &
    demo=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tavik Hoptrace' 2>/dev/null | tail -n 1)
    [ -n "$window" ] || { fail "$ending: no window appeared"; cat "$work/demo.log"; kill -KILL "-$demo"; break; }
    namespaces=$(demo_namespaces "$demo")
    [ -n "$namespaces" ] || fail "$ending: the demo runs in this machine's own namespaces"
    case $ending in
        close-request) python3 "$here/wm-close.py" "$window" ;;
        destroyed) xdotool windowclose "$window" ;;
        interrupt) kill -INT "-$demo" ;;  # what Ctrl-C sends to the terminal's job
        display-lost) kill "$xvfb_pid" ;;
    esac
    i=0
    while kill -0 "$demo" 2>/dev/null && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    kill -0 "$demo" 2>/dev/null && { fail "$ending: the demo still runs 30 s after its window ended"; kill -KILL "-$demo" 2>/dev/null; }
    wait "$demo" 2>/dev/null
    to=$(ticks)
    sleep 0.2 # the kernel reaps what a dying namespace held
    for p in /proc/[0-9]*; do
        for ns in "$p/ns/net" "$p/ns/pid"; do
            n=$(readlink "$ns" 2>/dev/null) || continue
            echo "$namespaces" | grep -qxF "$n" && started_while_demo_ran "$p" || continue
            fail "$ending: left behind in $n: $(tr '\0' ' ' <"$p/cmdline")"
            kill -KILL "${p#/proc/}" 2>/dev/null
        done
    done
    # Losing the display is worth the one line Qt gives it.
    grep -v "tavik-sim\|^The X11 connection broke" "$work/demo.log" | grep -q . && { fail "$ending: it printed:"; cat "$work/demo.log"; }
    kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    [ $failed = 0 ] && echo "PASS: $ending ($(date +%s.%N | cut -c1-14))"
done
exit $failed
