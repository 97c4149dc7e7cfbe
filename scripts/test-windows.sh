#!/usr/bin/env bash
# Compiles every program source for Windows (scripts/windows-syntax-check.sh), then
# cross-builds src/platform/windows with its tests (tests/windows) using mingw-w64 and
# runs them under wine through CTest. HOPTRACE_WINDOWS_TESTS=0 skips it.
# Usage: scripts/test-windows.sh [build-dir]   (default: build-win)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${HOPTRACE_WINDOWS_TESTS:-1}" = 0 ]; then
    echo "test-windows: skipped (HOPTRACE_WINDOWS_TESTS=0)"
    exit 0
fi

build=${1:-build-win}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
jobs=${JOBS:-2}

# The whole program, Qt code included, compiled for Windows (syntax only: Debian has no Qt
# to link it against), so that a Windows-only mistake fails here.
JOBS=$jobs scripts/windows-syntax-check.sh
cmake -S tests/windows -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" -j "$jobs"

# The host's own view of its interfaces, for the adapter-list test to compare against:
# "index name address/prefix gateway" per interface (first IPv4 address), loopback left out.
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
            printf "%s %s %s %s;", idx, $2, $4, ($2 in gw ? gw[$2] : "-")
        }'
}

# Wine opens ICMP through a raw socket (root) or a ping socket (ping_group_range).
icmp_allowed() {
    [ "$(id -u)" -eq 0 ] && { echo 1; return; }
    local low high
    read -r low high </proc/sys/net/ipv4/ping_group_range 2>/dev/null || { echo 0; return; }
    for gid in $(id -G); do
        if [ "$gid" -ge "$low" ] && [ "$gid" -le "$high" ]; then echo 1; return; fi
    done
    echo 0
}

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or Gecko installer prompts in a new prefix
if command -v ip >/dev/null; then
    export HOPTRACE_HOST_ADAPTERS="$(host_adapters)"
fi
export HOPTRACE_WINE_ICMP="$(icmp_allowed)"
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
