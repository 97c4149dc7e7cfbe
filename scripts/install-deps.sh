#!/bin/sh
# Installs the Debian/Ubuntu packages one task needs, and nothing else. Idempotent: does
# nothing when everything is there. Uses sudo only when not root; sudo drops the
# environment, so the noninteractive frontend is passed through it explicitly.
#
# Usage: scripts/install-deps.sh [build|demo|package|fuzz|test]   (default: test)
#   build    the compiler, CMake, Ninja, make and Qt: enough to build the program
#   demo     build + what the program and the simulated LAN need at run time
#   package  build + the Debian packaging and its checks
#   fuzz     build + clang with its libFuzzer and sanitizer runtimes (make fuzz only)
#   test     all of the above + the test tools; + mingw-w64, wine and GoogleTest for the
#            Windows group unless HOPTRACE_WINDOWS_TESTS=0
#            (and what the Windows program group adds: Qt's source through apt, NSIS)
#   windows  what ./hoptrace-dev windows needs: mingw-w64, Qt's source through apt, NSIS, zip
set -eu

build="cmake ninja-build g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev"
# The window's font (Liberation Sans, DejaVu as fall-back); ip, unshare, nsenter, setpriv;
# arping, which the free-address test asks by ARP with.
runtime="fonts-dejavu-core fonts-liberation2 iproute2 util-linux iputils-arping"
package="dpkg-dev lintian desktop-file-utils appstream"
tests="clang-format-19 iputils-ping nftables python3 dbus python3-dbusmock libglib2.0-bin xvfb xauth x11-utils xdotool
       imagemagick procps libfaketime"
windows="g++-mingw-w64-x86-64-posix wine64 wine googletest"
# The Windows program (./hoptrace-dev windows): Qt's source through apt, NSIS for the installer.
windows_program="cmake ninja-build qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix dpkg-dev nsis zip"

case "${1:-test}" in
    build) wanted="$build" ;;
    demo) wanted="$build $runtime" ;;
    package) wanted="$build $package" ;;
    fuzz) wanted="$build clang libclang-rt-14-dev" ;;
    windows) wanted="$windows_program" ;;
    test)
        wanted="$build $runtime $package $tests"
        [ "${HOPTRACE_WINDOWS_TESTS:-1}" = 0 ] || wanted="$wanted $windows"
        ;;
    *) echo "install-deps: unknown task '$1' (build, demo, package, fuzz or test)" >&2; exit 2 ;;
esac

[ "${1:-test}" = test ] && [ "${HOPTRACE_WINDOWS_TESTS:-1}" != 0 ] && wanted="$wanted $windows_program"

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: this is not a Debian-like system; install by hand: $wanted" >&2
    exit 1
fi

missing=""
for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    run() { env DEBIAN_FRONTEND=noninteractive "$@"; }
elif command -v sudo >/dev/null 2>&1; then
    run() { sudo env DEBIAN_FRONTEND=noninteractive "$@"; }
else
    echo "install-deps: not root and no sudo; as root run: apt-get install$missing" >&2
    exit 1
fi
# No questions: a run without a terminal (CI) must not stop on a prompt.
run apt-get update -q </dev/null
# shellcheck disable=SC2086 # one word per package
run apt-get install -y -q --no-install-recommends $missing </dev/null
