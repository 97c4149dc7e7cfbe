#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build and the tests need. Idempotent:
# does nothing when everything is there; uses sudo only when not root.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-dejavu-core fonts-liberation2
    iproute2 iputils-ping util-linux python3 nftables
    dbus python3-dbusmock libglib2.0-bin
    xvfb xauth x11-utils imagemagick
)
# make fuzz only: clang and its libFuzzer and sanitizer runtimes.
if [ "${HOPTRACE_FUZZ_DEPS:-0}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev)
fi
if [ "${HOPTRACE_WINDOWS_TESTS:-1}" = 1 ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine64 wine googletest)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
