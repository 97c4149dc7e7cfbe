#!/usr/bin/env bash
# Compiles every program source for Windows (scripts/windows-syntax-check.sh), then
# cross-builds src/platform/windows with its tests (tests/windows) using mingw-w64 and
# runs them under wine through CTest, inside a private network (scripts/private-network.sh) so
# that nothing a test sends, nor wine's own server, touches this machine's network.
# HOPTRACE_WINDOWS_TESTS=0 skips it.
# Usage: scripts/test-windows.sh [build-dir]   (default: build-win)
set -euo pipefail
cd "$(dirname "$0")/.."
# The private network's steps may use programs of /usr/sbin (nft, tc, sysctl), which is not on
# a normal user's PATH on Debian.
case ":$PATH:" in *:/usr/sbin:*) ;; *) PATH=$PATH:/usr/sbin:/sbin && export PATH ;; esac

# The run itself, started by `private-network.sh enter` below: builds a small LAN for the
# adapter and echo tests, then runs CTest under one wine server.
if [ "${1:-}" = _run ]; then
    build=$2
    for step in "node gw" "link self lan0 10.61.1.10/24 gw g0 10.61.1.1/24" \
        "link self lan1 10.62.0.10/16 gw g1 10.62.0.1/16" "in self ip route add default via 10.61.1.1"; do
        # shellcheck disable=SC2086 # each step is words
        scripts/private-network.sh $step
    done
    # As root of the namespace, wine opens ICMP through a raw socket.
    export HOPTRACE_WINE_ECHO_PEER=10.61.1.1
    # Wine's server socket lives under /tmp/.wine-UID: a folder of this namespace's own.
    server_dir=/tmp/.wine-$(id -u)
    mkdir -p "$server_dir"
    mount -t tmpfs -o mode=700 tmpfs "$server_dir" || echo "test-windows: $server_dir is shared" >&2
fi

if [ "${HOPTRACE_WINDOWS_TESTS:-1}" = 0 ]; then
    echo "test-windows: skipped (HOPTRACE_WINDOWS_TESTS=0)"
    exit 0
fi

if [ "${1:-}" != _run ]; then
    build=${1:-build-win}
    case $build in /*) ;; *) build="$PWD/$build" ;; esac
    jobs=${JOBS:-2}

    # The whole program, Qt code included, compiled for Windows (syntax only: Debian has no Qt
    # to link it against), so that a Windows-only mistake fails here.
    JOBS=$jobs scripts/windows-syntax-check.sh
    cmake -S tests/windows -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
    cmake --build "$build" -j "$jobs"
    # Never in this machine's own network: where no private namespace can be made, the run
    # is skipped (77) rather than done here.
    exec scripts/private-network.sh enter "$PWD/scripts/test-windows.sh" _run "$build"
fi

# The host's own view of its interfaces, for the adapter-list test to compare against:
# "name #index address/mask gw gateway-or-dash;" per interface with IPv4 (its first address),
# loopback left out.
host_adapters() {
    local gateways
    gateways=$(ip -4 route show default 2>/dev/null | awk '{
        dev = ""; via = ""
        for (i = 1; i < NF; i++) { if ($i == "dev") dev = $(i + 1); if ($i == "via") via = $(i + 1) }
        if (dev != "" && via != "") print dev, via }')
    ip -o -4 addr show 2>/dev/null | awk -v gws="$gateways" '
        BEGIN { n = split(gws, g, "\n"); for (i = 1; i <= n; i++) { split(g[i], f, " "); gw[f[1]] = f[2] } }
        $2 != "lo" && !seen[$2]++ {
            idx = $1; sub(":", "", idx)
            split($4, a, "/"); bits = a[2]; mask = ""
            for (i = 0; i < 4; i++) {
                octet = bits >= 8 ? 255 : 256 - 2 ^ (8 - bits); bits = bits > 8 ? bits - 8 : 0
                mask = mask (i ? "." : "") octet
            }
            printf "%s #%s %s/%s gw %s;", $2, idx, a[1], mask, ($2 in gw ? gw[$2] : "-")
        }'
}

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or Gecko installer prompts in a new prefix
HOPTRACE_HOST_ADAPTERS="$(host_adapters)"
export HOPTRACE_HOST_ADAPTERS
unset DISPLAY WAYLAND_DISPLAY

# One persistent wine server for the whole run (each test would otherwise start and
# stop its own), ended however the run ends.
mkdir -p "$WINEPREFIX"
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# Set the prefix up before CTest runs anything: the services that a first start leaves
# running would hold the output pipe of whatever started them open.
wine wineboot.exe -i >/dev/null 2>&1 </dev/null
cd "$build" && ctest --output-on-failure -j 1
