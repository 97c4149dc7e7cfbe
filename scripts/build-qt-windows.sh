#!/bin/sh
# Builds Qt for Windows (qtbase, mingw-w64) from Debian's own qt6-base source, once, into a
# cache outside every build tree, and prints the install prefix on its last line. A stamp of
# the source version, the toolchain and the options sits in the prefix: a later run whose
# stamp matches reuses that Qt at once; any change rebuilds it.
#
#   scripts/build-qt-windows.sh [--check]
#
# --check only tells whether the cache is current (exit 0) or not (exit 1). Exit 77: the
# recipe does not fit this release's Qt yet (not under CI=true, where it is tried). Build
# output goes to standard error, the prefix alone to standard output.
# Environment: HOPTRACE_QT_CACHE (default ${XDG_CACHE_HOME:-$HOME/.cache}/hoptrace),
# JOBS (2), NICE (10).
#
# Debian's Qt on this host gives the host tools (moc, rcc, uic) of the same version; the
# source comes through apt with a deb-src entry of its own in a private apt configuration,
# so the machine's sources stay as they are.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)

cache=${HOPTRACE_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/hoptrace}
jobs=${JOBS:-2}
[ "$jobs" -gt 2 ] && jobs=2
nice_level=${NICE:-10}

host_version=$(dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$host_version" ]; then
    echo "build-qt-windows: Debian's qt6-base-dev (the host tools) is not installed" >&2
    exit 1
fi
upstream=${host_version%%+*}
upstream=${upstream#*:}
prefix=$cache/qt-$upstream-mingw-w64

# The recipe below is measured for Qt 6.4 (Debian 12) and Qt 6.8 (Debian 13). Elsewhere it is
# tried under CI only, so that a release it does not fit yet says so instead of failing a
# developer's test run.
case $upstream in
    6.4.* | 6.8.*) ;;
    *)
        if [ "${CI:-}" != true ]; then
            echo "build-qt-windows: the recipe fits Debian's Qt 6.4 and 6.8; Qt $upstream on this release is not tried yet (skipped)" >&2
            exit 77
        fi
        ;;
esac

# Every option that changes the result. Tablet events need wintab.h, which Debian's source
# leaves out; 6.4's Windows platform plugin names an OpenGL class under dynamicgl even with
# OpenGL off.
qt_options="-DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
-DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
-DFEATURE_concurrent=OFF -DFEATURE_openssl=OFF -DFEATURE_vulkan=OFF -DFEATURE_xml=OFF
-DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_accessibility=ON
-DFEATURE_style_windows=ON -DFEATURE_style_windowsvista=ON -DFEATURE_directwrite=ON"
# Only what the program uses. Off, by what they would have built:
# - targets no executable loads: Qt Test (the Windows tests use GoogleTest), the Direct2D
#   platform plugin (direct2d1_1: plain direct2d stays, since Gui builds the DirectWrite font
#   database under it, which the Windows plugin uses), the TUIO touch plugin, the TLS backends (the program speaks plain UDP and
#   ICMP), the image-format plugins with libjpeg (the program reads no image file: its icon is
#   a Windows resource, its symbols are painted), FreeType with the offscreen platform (the
#   Windows plugin draws text with DirectWrite);
# - classes it never names: in Core the calendars beyond the Gregorian, shared memory, the
#   rarer proxy models; in Gui movies, PDF, pictures, the rich-text writers and readers, the
#   undo framework, the tray icon; in Widgets the dialogs, views and controls listed (not the
#   input dialog, the tab widget or the table view: the native style names them unguarded); in Network
#   HTTP, DNS lookups, local sockets, proxies and their authentication, and the public-suffix list.
# The features kept below are checked after configure, since Qt turns off silently what a
# switched-off feature was a condition of.
for feature in testlib direct2d1_1 tuiotouch ssl dtls ocsp schannel jpeg gif ico imageformatplugin freetype \
    islamiccivilcalendar jalalicalendar hijricalendar sharedmemory systemsemaphore \
    concatenatetablesproxymodel transposeproxymodel xmlstreamwriter \
    movie pdf picture textodfwriter textmarkdownreader textmarkdownwriter syntaxhighlighter \
    sessionmanager systemtrayicon imageformat_ppm imageformat_xbm undocommand undogroup undostack \
    image_heuristic_mask \
    calendarwidget colordialog columnview commandlinkbutton datawidgetmapper datetimeedit dial \
    dockwidget errormessage fontcombobox fontdialog graphicseffect graphicsview keysequenceedit \
    lcdnumber mdiarea splashscreen textbrowser toolbox undoview wizard style_fusion tablewidget \
    treewidget menubar mainwindow toolbar statusbar progressdialog whatsthis \
    progressbar \
    dnslookup http networkdiskcache localserver socks5 topleveldomain publicsuffix_qt \
    publicsuffix_system sspi gssapi system_proxies networklistmanager sctp; do
    case $upstream:$feature in
        # 6.4's Widgets compiles a compatibility file that names these classes unguarded.
        6.4.*:mainwindow | 6.4.*:menubar | 6.4.*:toolbar) continue ;;
        # 6.8's Windows 11 style (in the native style's plugin) names these unguarded.
        6.8.*:commandlinkbutton | 6.8.*:graphicsview | 6.8.*:graphicseffect) continue ;;
        # 6.8 defines the stream reader's checkToken() inside the writer's feature block.
        6.8.*:xmlstreamwriter) continue ;;
        # 6.8's Vista style draws tool bars with QStyleOptionToolBar unguarded; Qt turns tool
        # bars off silently without main windows, their condition, and qdockwidget.cpp, built
        # with main windows, includes its own moc output, which moc leaves out without dock widgets.
        6.8.*:mainwindow | 6.8.*:toolbar | 6.8.*:dockwidget) continue ;;
    esac
    qt_options="$qt_options -DFEATURE_$feature=OFF"
done
# What the program and the next work on it use: the controls of the window, its dialogs, the
# context menu, the file dialog, the clipboard, settings, the saved file, opening a URL, style
# sheets, accessibility (screen readers), the native style, UDP and the adapters' list.
kept_features="accessibility action clipboard combobox commandlineparser completer contextmenu cssparser
desktopservices dialog dialogbuttonbox directwrite draganddrop filedialog filesystemmodel formlayout
groupbox harfbuzz itemviews label lineedit listview listwidget menu messagebox mimetype png
pushbutton radiobutton checkbox regularexpression scrollarea scrollbar settings shortcut splitter
stackedwidget style_stylesheet style_windows style_windowsvista tabbar temporaryfile textedit thread
tooltip toolbutton treeview udpsocket networkinterface validator widgets wheelevent inputdialog direct2d
tabwidget tableview"
# What a version's own sources name unguarded (above) must come out of configure too.
case $upstream in
    6.8.*) kept_features="$kept_features mainwindow toolbar dockwidget" ;;
esac
toolchain_source=$here/cmake/WindowsQtToolchain.cmake
compiler_version=$(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null || echo none)
stamp_text=$(printf 'qt6-base %s\ncompiler %s\n%s\n%s\n' "$host_version" "$compiler_version" \
    "$qt_options" "$(cat "$toolchain_source")")

current() { [ -f "$prefix/hoptrace-stamp" ] && [ "$(cat "$prefix/hoptrace-stamp")" = "$stamp_text" ]; }

if [ "${1:-}" = --check ]; then
    current
    exit
fi

mkdir -p "$cache"
# One build at a time: a second caller waits for the first and then finds the cache current.
exec 9>"$cache/qt-build.lock"
flock 9

if current; then
    echo "$prefix"
    exit 0
fi

started=$(date +%s)
log=$cache/qt-$upstream-build.log
echo "build-qt-windows: Qt for Windows is not in the cache yet: building Qt $upstream from Debian's source, once," >&2
echo "build-qt-windows: into $prefix (25 to 60 minutes on a 2-core machine); its compiler output goes to $log" >&2

# --- the source, through apt --------------------------------------------------------------
# Each Qt version's source and build folders apart, so that one cache may hold several.
src_root=$cache/src-$upstream
apt_dir=$cache/apt
source_dir=$src_root/qt6-base-$upstream
if [ ! -f "$source_dir/.hoptrace-unpacked-$host_version" ]; then
    rm -rf "$src_root"
    mkdir -p "$src_root" "$apt_dir/lists/partial"
    . /etc/os-release
    # The deb-src entry mirrors the machine's own deb entry for this release.
    mirror=http://deb.debian.org/debian
    for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        uri=$(awk '/^URIs:/ {print $2; exit}' "$f")
        case $uri in *debian) mirror=$uri; break ;; esac
    done
    cat >"$apt_dir/src.sources" <<SOURCES
Types: deb-src
URIs: $mirror
Suites: $VERSION_CODENAME
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    # Its own lists folder needs no lock on the machine's; as root, apt's download user could
    # not write into a cache under /root. No package cache either: a normal user's apt would
    # try to replace the machine's and warn that it may not.
    apt_opts="-o Dir::Etc::sourcelist=$apt_dir/src.sources -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$apt_dir/lists -o Debug::NoLocking=1"
    apt_opts="$apt_opts -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache="
    [ "$(id -u)" = 0 ] && apt_opts="$apt_opts -o APT::Sandbox::User=root"
    # shellcheck disable=SC2086 # several options
    apt-get $apt_opts -qq update >&2
    # shellcheck disable=SC2086
    (cd "$src_root" && apt-get $apt_opts -qq source --download-only "qt6-base=$host_version" >&2)
    tarball=$(ls "$src_root"/qt6-base_*.orig.tar.* | head -1)
    mkdir -p "$source_dir"
    tar -xf "$tarball" -C "$source_dir" --strip-components=1
    touch "$source_dir/.hoptrace-unpacked-$host_version"
fi

# --- configure, build, install ----------------------------------------------------------
build_dir=$cache/qt-$upstream-build
rm -rf "$prefix"
mkdir -p "$prefix"
# The toolchain is kept beside this Qt: its qt-cmake refers to it by path for good.
cp "$toolchain_source" "$prefix/mingw-w64-toolchain.cmake"
# A build that was cut short (the machine's session ended, say) goes on where it stopped.
if [ -f "$build_dir/hoptrace-stamp" ] && [ "$(cat "$build_dir/hoptrace-stamp")" = "$stamp_text" ]; then
    echo "build-qt-windows: going on with the build in $build_dir" >&2
else
    rm -rf "$build_dir"
    mkdir -p "$build_dir"
    : >"$log"
    # shellcheck disable=SC2086 # qt_options holds several options
    nice -n "$nice_level" cmake -S "$source_dir" -B "$build_dir" -G Ninja >>"$log" 2>&1 \
        -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        $qt_options || { tail -n 30 "$log" >&2; echo "build-qt-windows: Qt's configure failed; see $log" >&2; exit 1; }
    missing_features=""
    for feature in $kept_features; do
        grep -q "^QT_FEATURE_$feature:INTERNAL=ON" "$build_dir/CMakeCache.txt" || missing_features="$missing_features $feature"
    done
    if [ -n "$missing_features" ]; then
        echo "build-qt-windows: Qt's configure left out what the program needs:$missing_features" >&2
        exit 1
    fi
    printf '%s\n' "$stamp_text" >"$build_dir/hoptrace-stamp"
fi
# Qt's own output (more than a thousand warnings of its sources) goes to the log; the terminal
# gets the steps done of all, and output without a terminal a plain line every tenth.
progress() {
    # Line by line in the shell: awk (mawk) would read a pipe in large blocks, and the steps
    # would come in bursts.
    exec 8>>"$log"
    shown=0
    while IFS= read -r line; do
        printf '%s\n' "$line" >&8
        case $line in
            \[[0-9]*/[0-9]*\]*)
                counts=${line%%]*} && counts=${counts#?}
                done_steps=${counts%/*} all_steps=${counts#*/}
                if [ "$1" = 1 ]; then
                    printf '\rbuild-qt-windows: %s of %s steps' "$done_steps" "$all_steps" >&2
                elif [ $((10 * done_steps / all_steps)) -gt $shown ]; then
                    shown=$((10 * done_steps / all_steps))
                    echo "build-qt-windows: $done_steps of $all_steps steps" >&2
                fi
                ;;
        esac
    done
    [ "$1" = 1 ] && echo >&2
    exec 8>&-
}
terminal=0
[ -t 2 ] && terminal=1
status_file=$build_dir/build-status
{ nice -n "$nice_level" cmake --build "$build_dir" -j "$jobs" 2>&1; echo $? >"$status_file"; } | progress $terminal
if [ "$(cat "$status_file")" != 0 ]; then
    grep -B2 -A12 -m3 "error\|FAILED" "$log" | tail -n 40 >&2
    echo "build-qt-windows: the Qt build failed; see $log" >&2
    exit 1
fi
cmake --install "$build_dir" >>"$log" 2>&1
printf '%s\n' "$stamp_text" >"$prefix/hoptrace-stamp"
rm -rf "$build_dir"

echo "build-qt-windows: Qt for Windows built in $(($(date +%s) - started)) s, $(du -sh "$prefix" | cut -f1) installed (its log: $log)" >&2
echo "$prefix"
