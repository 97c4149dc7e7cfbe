#!/bin/sh
# Compiles every source of the Windows program (all of src/ but the Linux backend) for
# Windows, syntax only: mingw-w64 with Debian's Qt 6 headers, so the Q_OS_WIN branches and
# the Win32 backend as the Qt build sees it are checked although Debian has no Qt for
# Windows to link against. Qt's headers are system headers: only warnings of our own code
# count, and they are errors. The defines are those a Qt 6 Windows build gives its users.
# Usage: scripts/windows-syntax-check.sh [SOURCE...]   (default: all; JOBS in parallel)
set -eu
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
if [ $# -gt 0 ]; then
    sources=$(printf '%s\n' "$@")
else
    sources=$(find src -name '*.cpp' ! -path 'src/platform/linux/*' | sort)
fi
cxx=x86_64-w64-mingw32-g++-posix
qt=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
version=$(sed -n 's/^project(Hoptrace VERSION \([0-9]*\)\.\([0-9]*\)\.\([0-9]*\).*/\1 \2 \3/p' CMakeLists.txt)
# shellcheck disable=SC2086 # three numbers
set -- $version
flags="-std=c++20 -fsyntax-only -Wall -Wextra -Werror -Isrc -isystem $qt"
for module in QtCore QtGui QtWidgets QtNetwork QtDBus; do flags="$flags -isystem $qt/$module"; done
# Debian 13's Qt leaves the Windows-only qwindowdefs_win.h out of its Linux headers, while
# qwindowdefs.h includes it under Q_OS_WIN. The stand-in declares the Win32 handle types as Qt
# does (opaque structs, as mingw-w64's STRICT declarations make them too), nothing more.
if [ ! -e "$qt/QtGui/qwindowdefs_win.h" ]; then
    standin=$(mktemp -d "${TMPDIR:-/tmp}/qt-windefs.XXXXXX")
    trap 'rm -rf "$standin"' EXIT
    mkdir "$standin/QtGui"
    {
        echo '#pragma once'
        echo '#ifndef STRICT'
        echo '#define STRICT'
        echo '#endif'
        for handle in HINSTANCE HDC HWND HFONT HPEN HBRUSH HBITMAP HICON HPALETTE HRGN HMONITOR HGLRC; do
            echo "struct ${handle}__; typedef struct ${handle}__* $handle;"
        done
        echo 'typedef HINSTANCE HMODULE; typedef HICON HCURSOR; typedef struct tagMSG MSG;'
        echo '#ifndef _HRESULT_DEFINED'
        echo '#define _HRESULT_DEFINED'
        echo 'typedef long HRESULT;'
        echo '#endif'
    } >"$standin/QtGui/qwindowdefs_win.h"
    flags="$flags -isystem $standin"
fi
flags="$flags -DUNICODE -D_UNICODE -DWIN32 -DWIN64 -D_WIN64 -DMINGW_HAS_SECURE_API=1
    -DWIN32_LEAN_AND_MEAN -DNOMINMAX -DQT_NO_CONTEXTLESS_CONNECT -DQT_NO_KEYWORDS -DQT_NO_DEBUG
    -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB -DQT_DBUS_LIB
    -DHOPTRACE_VERSION_MAJOR=$1 -DHOPTRACE_VERSION_MINOR=$2 -DHOPTRACE_VERSION_PATCH=$3"

echo "windows-syntax-check: $(echo "$sources" | wc -l) sources with $cxx"
# shellcheck disable=SC2086 # flags are words
if echo "$sources" | xargs -P "$jobs" -n 1 $cxx $flags; then
    exit 0
fi
echo "windows-syntax-check: a source does not compile for Windows" >&2
exit 1
