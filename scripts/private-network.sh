#!/bin/sh
# Small private networks, so that nothing sent inside (broadcasts, pings) ever reaches this
# machine's own network: the simulated LAN (scripts/simlan.sh) is built on it, and the tests
# that need real sockets use it through tests/netns/PrivateNetwork.h (topologies in
# tests/platform/LinuxPlatformTest.cpp).
#
#   enter CMD [ARG...]   runs CMD as root of a new user, network, PID and mount namespace
#       holding only "lo" (up); a normal user can where unprivileged user namespaces are
#       allowed. Returns CMD's exit code, or 77 when no namespace can be made here.
#       Everything started inside ends with CMD. CMD finds HOPTRACE_PRIVATE_NETWORK (a state
#       folder) and HOPTRACE_HOST_NETNS (the network left) in its environment.
# Only inside (they refuse to run anywhere else); "self" names the namespace of `enter`:
#   node NAME                       another network namespace (a device, router, far host)
#   link A IFA ADDRA B IFB ADDRB    a veth pair, both ends up; ADDR "10.1.0.1/24" or "-" (none)
#   router NAME                     lets node NAME forward IPv4
#   in NAME CMD [ARG...]            runs CMD in the network of node NAME

set -u
script=$(readlink -f "$0")
# nft, tc and sysctl live in /usr/sbin, which is not on a normal user's PATH on Debian; the
# steps run through `in` (nsenter) look their programs up in this PATH too.
case ":$PATH:" in *:/usr/sbin:*) ;; *) PATH=$PATH:/usr/sbin:/sbin && export PATH ;; esac

fail() {
    echo "private-network: $*" >&2
    exit 1
}

netns_of() {
    readlink "/proc/$1/ns/net"
}

# The environment alone proves nothing: the first process of the PID namespace must be the
# `_inside` step of this script, and the network must not be the one `enter` left.
require_inside() {
    [ -n "${HOPTRACE_PRIVATE_NETWORK:-}" ] && [ -d "$HOPTRACE_PRIVATE_NETWORK" ] &&
        tr '\0' ' ' </proc/1/cmdline | grep -q "private-network.sh _inside " ||
        fail "not inside a private network (use: $script enter CMD)"
    [ "$(netns_of self)" != "${HOPTRACE_HOST_NETNS:-}" ] && [ "$(netns_of 1)" != "${HOPTRACE_HOST_NETNS:-}" ] ||
        fail "this is the host's network"
}

node_pid() {
    [ -f "$HOPTRACE_PRIVATE_NETWORK/node.$1" ] || fail "no node named $1"
    cat "$HOPTRACE_PRIVATE_NETWORK/node.$1"
}

run_in() {
    pid=$(node_pid "$1") || exit 1
    shift
    nsenter --net="/proc/$pid/ns/net" -- "$@"
}

configure_end() { # node interface address
    if [ "$3" != "-" ]; then
        run_in "$1" ip addr add "$3" brd + dev "$2" || fail "cannot give $2 the address $3"
    fi
    run_in "$1" ip link set "$2" up || fail "cannot bring $2 up"
}

command=${1:-}
[ $# -gt 0 ] && shift
case "$command" in
enter)
    [ $# -gt 0 ] || fail "enter needs a command"
    host=$(netns_of self)
    for flags in -rnpf -npf; do
        # Plain root may lack user namespaces (e.g. in a container); it does not need one.
        [ "$flags" = -npf ] && [ "$(id -u)" != 0 ] && continue
        # Making the namespace is not enough where a security module strips its powers:
        # bringing up its loopback proves the network can be built.
        if unshare "$flags" --mount-proc ip link set lo up >/dev/null 2>&1; then
            HOPTRACE_HOST_NETNS=$host exec unshare "$flags" --mount-proc --kill-child \
                /bin/sh "$script" _inside "$@"
        fi
    done
    echo "private-network: no private namespace can be made here" >&2
    exit 77
    ;;
_inside)
    # The first process of the new PID namespace: when it ends, the kernel ends the rest.
    [ "$(netns_of self)" != "${HOPTRACE_HOST_NETNS:-}" ] || fail "the network namespace did not change"
    others=$(ip -o link show | grep -v ': lo:')
    [ -z "$others" ] || fail "a fresh namespace must hold only lo"
    ip link set lo up || fail "cannot bring lo up"
    HOPTRACE_PRIVATE_NETWORK=$(mktemp -d "${TMPDIR:-/tmp}/private-network.XXXXXX") || fail "no state folder"
    export HOPTRACE_PRIVATE_NETWORK HOPTRACE_HOST_NETNS
    echo $$ >"$HOPTRACE_PRIVATE_NETWORK/node.self"
    "$@"
    status=$?
    rm -rf "$HOPTRACE_PRIVATE_NETWORK"
    exit $status
    ;;
node)
    require_inside
    [ $# -eq 1 ] || fail "usage: node NAME"
    [ ! -e "$HOPTRACE_PRIVATE_NETWORK/node.$1" ] || fail "node $1 exists already"
    unshare -n sleep infinity </dev/null >/dev/null 2>&1 &
    pid=$!
    tries=0
    while [ "$(netns_of $pid)" = "$(netns_of self)" ]; do
        tries=$((tries + 1))
        [ $tries -lt 500 ] || fail "node $1 did not get its namespace"
        sleep 0.01
    done
    echo $pid >"$HOPTRACE_PRIVATE_NETWORK/node.$1"
    run_in "$1" ip link set lo up || fail "cannot bring lo up in $1"
    ;;
link)
    require_inside
    [ $# -eq 6 ] || fail "usage: link A IFA ADDRA B IFB ADDRB"
    peer=$(node_pid "$4") || exit 1
    run_in "$1" ip link add "$2" type veth peer name "$5" netns "$peer" || fail "cannot make $2 -- $5"
    configure_end "$1" "$2" "$3"
    configure_end "$4" "$5" "$6"
    ;;
router)
    require_inside
    [ $# -eq 1 ] || fail "usage: router NAME"
    run_in "$1" sh -c 'echo 1 >/proc/sys/net/ipv4/ip_forward' || fail "cannot make $1 a router"
    ;;
in)
    require_inside
    [ $# -ge 2 ] || fail "usage: in NAME CMD [ARG...]"
    run_in "$@"
    ;;
*)
    fail "usage: $0 enter|node|link|router|in ... (see the comment at its top)"
    ;;
esac
