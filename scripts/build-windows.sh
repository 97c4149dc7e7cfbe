#!/bin/sh
# The Windows program, cross-built here: Qt for Windows from the cache (built once by
# scripts/build-qt-windows.sh), then hoptrace.exe and hoptrace-cli.exe from the same sources
# as the Linux program, the folder that holds the whole program, its zip and its installer.
#
#   scripts/build-windows.sh [build-dir]     (default: build-windows)
#
# Leaves in the build folder: Hoptrace/ (the program folder, runs on a Windows PC with
# nothing installed), Hoptrace-<version>-win64.zip (that folder zipped) and
# Hoptrace-<version>-win64.exe (the 64-bit installer). Environment: JOBS (2), NICE (10).
set -eu
cd "$(dirname "$0")/.."

build=${1:-build-windows}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
jobs=${JOBS:-2}
[ "$jobs" -gt 2 ] && jobs=2
nice_level=${NICE:-10}

# 77 (the recipe does not fit this release's Qt yet) passes through.
qt=$(JOBS=$jobs NICE=$nice_level scripts/build-qt-windows.sh) || exit
[ -x "$qt/bin/qt-cmake" ] || { echo "build-windows: no qt-cmake in $qt" >&2; exit 1; }

started=$(date +%s)
werror=OFF
[ "${CI:-}" = true ] && werror=ON
# qt-cmake brings Qt's toolchain (mingw-w64, shared C++ runtime) and its find paths.
# -O2 as the Linux build: at CMake's Release -O3, mingw's GCC 12 warns falsely (-Wrestrict) in
# its own string code, and warnings are errors under CI.
# The toolchain is named where the cache is now, not where Qt was built: a cache restored or
# copied to another folder (another user's home, a CI cache) still works.
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$qt/mingw-w64-toolchain.cmake" \
    -DHOPTRACE_BUILD_TESTS=OFF -DHOPTRACE_WERROR=$werror >/dev/null
# The program's two executables; the simulator and the other tools are Linux programs.
nice -n "$nice_level" cmake --build "$build" -j "$jobs" --target hoptrace hoptrace-cli
built=$(date +%s)

rm -rf "$build/Hoptrace"
cmake --install "$build" --prefix "$build/Hoptrace" --strip >/dev/null
(cd "$build" && rm -f ./Hoptrace-*-win64.* && cpack -G "NSIS;ZIP" >/dev/null)

size() { du -sh "$1" | cut -f1; }
echo "build-windows: program built in $((built - started)) s, packaged in $(($(date +%s) - built)) s"
echo "  folder    $build/Hoptrace ($(size "$build/Hoptrace"))"
for f in "$build"/Hoptrace-*-win64.zip "$build"/Hoptrace-*-win64.exe; do
    echo "  $(case $f in *.zip) echo 'zip      ' ;; *) echo 'installer' ;; esac) $f ($(size "$f"))"
done
