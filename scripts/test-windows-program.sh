#!/usr/bin/env bash
# The Windows program where a Windows user would use it, as far as this machine allows: the
# installer run silently in a wine prefix of its own, hoptrace-cli.exe and the hoptrace.exe
# window driven from the installed folder against the simulated LAN on two adapters
# (scripts/simlan.sh: private namespaces only), X clicks on an Xvfb display, then the
# uninstaller. Before that, without any network: what the folder, the executables and the
# installer's script must hold.
#
# Usage: scripts/test-windows-program.sh WINDOWS_BUILD SIMULATOR SERVICES_TESTS_EXE
#   WINDOWS_BUILD       scripts/build-windows.sh's folder (Hoptrace/, the zip and the installer)
#   SIMULATOR           the Linux tavik-sim
#   SERVICES_TESTS_EXE  tests/windows' hoptrace_windows_tests.exe (checks the shipped resources)
# Exit 0 all passed, 1 a check failed, 77 skipped (a missing prerequisite, except under CI=true).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() {
    echo "SKIP: $*"
    [ "${CI:-}" = true ] && exit 1
    exit 77
}

# ---------------------------------------------------------------------------------------------
# Inside the simulated LAN (the "PC" namespace): started below through simlan.sh.
if [ "${1:-}" = _inside ]; then
    build=$2 services_tests=$3 out=$4
    record=$out/sim-record.txt
    [ "$(readlink /proc/self/ns/net)" != "${SIMLAN_HOST_NETNS:-}" ] || { echo "FAIL: in the host's network"; exit 1; }
    # Wine's server socket folder, /tmp/.wine-UID: a tmpfs of this namespace, so that no wine
    # server of this machine's own network is reached, nor this one left behind there.
    server_dir=/tmp/.wine-$(id -u)
    mkdir -p "$server_dir" && mount -t tmpfs -o mode=700 tmpfs "$server_dir" || { echo "FAIL: no private $server_dir"; exit 1; }

    # The Linux test run's platform (offscreen) is no plugin of the Windows folder.
    unset QT_QPA_PLATFORM
    export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$out/display" 2>"$out/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
    [ -s "$out/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
    export DISPLAY=":$(cat "$out/display")"
    wineserver -p
    trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
    started=$(date +%s)
    wine wineboot.exe -i >/dev/null 2>&1 </dev/null
    echo "wine prefix ready in $(($(date +%s) - started)) s"

    installed=$WINEPREFIX/drive_c/Hoptrace
    cli() { wine 'C:\Hoptrace\hoptrace-cli.exe' "$@" </dev/null 2>>"$out/cli.err"; }

    # --- the installer, silently ---------------------------------------------------------
    installer=$(ls "$build"/Hoptrace-*-win64.exe)
    # (/D= comes last and unquoted.) The installer returns when it is done.
    wine "$installer" /S '/D=C:\Hoptrace' </dev/null >/dev/null 2>&1
    missing=""
    for f in hoptrace.exe hoptrace-cli.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll \
        platforms/qwindows.dll libstdc++-6.dll Uninstall.exe; do
        [ -f "$installed/$f" ] || missing="$missing $f"
    done
    # The native style's plugin: qwindowsvistastyle.dll up to Qt 6.6, qmodernwindowsstyle.dll after.
    [ -f "$installed/styles/qwindowsvistastyle.dll" ] || [ -f "$installed/styles/qmodernwindowsstyle.dll" ] ||
        missing="$missing styles/(the native style)"
    [ -z "$missing" ] && pass "the installer put the program into C:\\Hoptrace" || fail "the installed folder lacks:$missing"
    if find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Tavik Hoptrace.lnk' | grep -q .; then
        pass "the Start menu holds Tavik Hoptrace"
    else
        fail "no Start menu entry"
    fi
    if HOPTRACE_SHIPPED_EXECUTABLES='C:\Hoptrace\hoptrace.exe;C:\Hoptrace\hoptrace-cli.exe' \
        wine "$services_tests" --gtest_filter='WindowsResources.Shipped*' >"$out/resources.log" 2>&1 </dev/null &&
        grep -q '\[  PASSED  \] 1 test' "$out/resources.log"; then
        pass "hoptrace.exe and hoptrace-cli.exe carry the icon and the version record"
    else
        fail "the installed executables' resources:"; cat "$out/resources.log"
    fi

    # --- the command line, on both adapters ------------------------------------------------
    # The Linux end-to-end rows: every device once, heard on its own adapter, the one off
    # every local network flagged.
    expect_devices() { # JSON-FILE ROW... (ROW: "MAC address nic_address subnet_mismatch")
        python3 - "$@" <<'PY'
import json, sys
devices = json.load(open(sys.argv[1]))
seen = {d["mac"]: "%s %s %s" % (d["address"], d["nic_address"], "yes" if d["subnet_mismatch"] else "no")
        for d in devices}
ok = len(devices) == len(sys.argv) - 2
for row in sys.argv[2:]:
    mac, want = row.split(" ", 1)
    if seen.get(mac) != want:
        ok = False
        print("  %s: %s, expected %s" % (mac, seen.get(mac, "not listed"), want))
if not ok:
    print("  listed: %s" % json.dumps(devices, indent=1))
sys.exit(0 if ok else 1)
PY
    }
    lan1=192.168.1.10/24 lan2=172.16.5.10/24
    cli list --json --seconds 3 >"$out/list.json"
    status=$?
    if [ $status = 0 ] && expect_devices "$out/list.json" \
        "00:08:DC:1A:00:01 192.168.1.20 $lan1 no" "00:08:DC:1A:00:02 192.168.1.57 $lan1 no" \
        "00:08:DC:1A:00:03 192.168.1.30 $lan1 no" "00:0A:5B:20:00:04 192.168.1.40 $lan1 no" \
        "00:08:DC:2B:00:05 172.16.5.20 $lan2 no" "00:08:DC:2B:00:06 192.168.0.100 $lan2 yes"; then
        pass "hoptrace-cli.exe list finds every device on both adapters"
    else
        fail "hoptrace-cli.exe list (exit $status)"
    fi
    # Every adapter: each list request left through each adapter, with its address, from port 8080.
    for source in 192.168.1.10 172.16.5.10; do
        if grep -q "$source:8080 -> 255.255.255.255 .*TAVIKwebserver|List|" "$record"; then
            pass "list requests leave through the adapter of $source as limited broadcasts from port 8080"
        else
            fail "no list request from $source:8080 to 255.255.255.255"
        fi
    done

    if cli set-ip 00:08:DC:2B:00:06 --address 172.16.5.60 --mask 255.255.255.0 --gateway 172.16.5.1 \
        --dns 172.16.5.1 --port 80 >"$out/set-ip.txt" &&
        cli list --json --seconds 2 >"$out/list-after.json" &&
        python3 -c 'import json,sys; d=[x for x in json.load(open(sys.argv[1])) if x["mac"]=="00:08:DC:2B:00:06"];
sys.exit(0 if d and d[0]["address"]=="172.16.5.60" and not d[0]["subnet_mismatch"] else 1)' "$out/list-after.json"; then
        pass "hoptrace-cli.exe set-ip moves the device off no network onto 172.16.5.60"
    else
        fail "the set-ip round trip:"; cat "$out/set-ip.txt" "$out/list-after.json"
    fi

    # Another program holds UDP port 8080 (a Linux socket, as another Windows program's would be).
    python3 -c 'import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("0.0.0.0", 8080)); time.sleep(60)' &
    holder=$!
    sleep 0.5
    cli list --seconds 1 >/dev/null
    status=$?
    kill $holder
    wait $holder 2>/dev/null
    [ $status = 3 ] && pass "hoptrace-cli.exe answers 3 while another program holds port 8080" ||
        fail "with port 8080 held, hoptrace-cli.exe exited $status instead of 3"
    # And while a second Hoptrace holds it: both bind it exclusively (SO_EXCLUSIVEADDRUSE, which
    # wine carries out as a Linux bind without address sharing).
    cli list --seconds 6 >/dev/null &
    first=$!
    sleep 3
    cli list --seconds 1 >/dev/null
    status=$?
    wait $first
    first_status=$?
    [ $status = 3 ] && [ $first_status = 0 ] && pass "a second hoptrace-cli.exe answers 3 while the first searches" ||
        fail "two hoptrace-cli.exe at once exited $first_status and $status (expected 0 and 3)"

    # --- the window --------------------------------------------------------------------------
    : >"$record.window-start"
    lines_before=$(wc -l <"$record")
    # Wine reports each module it loads, so that the folder can be held to what the window uses.
    WINEDEBUG=-all,+loaddll wine 'C:\Hoptrace\hoptrace.exe' </dev/null >"$out/window.log" 2>&1 &
    program=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tavik Hoptrace' 2>/dev/null | head -n 1)
    if [ -z "$window" ]; then
        fail "no window titled Tavik Hoptrace appeared"
        exit 1
    fi
    title=$(xdotool getwindowname "$window")
    size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [ "$title" = "Tavik Hoptrace V2.0" ] && pass "the window is titled \"$title\"" || fail "the window is titled \"$title\""
    [ "$size" = 463x602 ] && pass "the window's client area is 463x602" || fail "the window is $size, not 463x602"
    # A search sends a list request every second: once the simulator has heard nothing for 3 s
    # the search is over, and the window takes clicks on the list again.
    # After a Reboot the window waits for the device before it searches: the search has begun
    # when a list request follows the given record line.
    search_ended() {
        for _ in $(seq 60); do
            tail -n +"${1:-1}" "$record" | grep -q 'TAVIKwebserver|List|' && break
            sleep 0.5
        done
        for _ in $(seq 60); do
            [ $(($(date +%s) - $(stat -c %Y "$record"))) -ge 3 ] && return 0
            sleep 1
        done
        fail "the window's search did not end within a minute"
    }
    sleep 2
    search_ended
    import -window "$window" "$out/hoptrace-under-wine.png" 2>/dev/null || fail "no screenshot"
    click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.5}"; }
    # With several devices listed and none selected, neither Reboot nor Set IP may act. Their
    # captions' darkest pixel tells the style's disabled text from the enabled black, whatever
    # the theme's grey; a click on Set IP must leave the window as it was (no IP setup panel
    # over the list: thousands of pixels, where a blinking caret changes a dozen).
    darkest() { convert "$out/hoptrace-under-wine.png" -crop "$1" -colorspace gray -format '%[fx:minima]' info:; }
    reboot_ink=$(darkest 60x14+72+13) set_ip_ink=$(darkest 60x14+328+13)
    click 358 20 1      # Set IP, nothing selected
    import -window "$window" "$out/set-ip-unselected.png" 2>/dev/null
    changed=$(compare -metric AE "$out/hoptrace-under-wine.png" "$out/set-ip-unselected.png" null: 2>&1)
    if [ "$set_ip_ink" = "$reboot_ink" ] && [ "${changed%% *}" -lt 50 ] 2>/dev/null; then
        pass "with nothing selected Set IP is drawn as disabled as Reboot (darkest grey $set_ip_ink) and a click on it opens nothing"
    else
        fail "with nothing selected: Set IP's darkest grey $set_ip_ink, Reboot's $reboot_ink; a click on Set IP changed $changed pixels"
    fi
    # Positions in the client area: twips / 15 at 96 dpi, from src/controls/ControlRows.h.
    click 60 300 1      # the first device's block in the list (its host name line)
    after_reboot=$(($(wc -l <"$record") + 1))
    click 102 20 1      # Reboot; the device is silent for the simulator's reboot time, then listed again
    # During its wait, a ping whose answer box the user leaves open until 16 s after the Reboot:
    # the wait goes on beside the box, and its refresh's search begins at 12 s (its first list
    # request a tick later), not once the box is closed.
    click 346 227 0     # Test via Ping, on the address the window proposes
    sleep 14.5
    box=$(xdotool search --onlyvisible --name '^Hoptrace$' 2>/dev/null | tail -n 1)
    if [ -n "$box" ]; then
        # Its OK button sits in its bottom right corner (Qt's margins and button size).
        import -window "$box" "$out/ping-box.png" 2>/dev/null
        box_size=$(xdotool getwindowgeometry "$box" | sed -n 's/.*Geometry: //p')
        xdotool mousemove --window "$box" $((${box_size%x*} - 48)) $((${box_size#*x} - 23)) click 1
        for _ in $(seq 30); do
            [ -n "$(xdotool search --onlyvisible --name '^Hoptrace$' 2>/dev/null)" ] || break
            sleep 0.1
        done
        [ -z "$(xdotool search --onlyvisible --name '^Hoptrace$' 2>/dev/null)" ] ||
            fail "the ping's answer box did not close on a click on its OK button"
    else
        fail "no answer box after the click on Test via Ping"
    fi
    search_ended "$after_reboot"
    reboot_at=$(tail -n +"$after_reboot" "$record" | grep -m 1 'TAVIKwebserver|Reboot|' | cut -d' ' -f1)
    list_at=$(tail -n +"$after_reboot" "$record" | grep -m 1 'TAVIKwebserver|List|' | cut -d' ' -f1)
    refresh_after=$(awk -v r="${reboot_at:-0}" -v l="${list_at:-0}" 'BEGIN { printf "%.1f", l - r }')
    if [ -n "$box" ] && awk -v d="$refresh_after" 'BEGIN { exit !(d >= 12 && d < 14.5) }'; then
        pass "the refresh's first list request came $refresh_after s after Reboot, with the ping's box still open"
    else
        fail "the refresh's first list request came $refresh_after s after Reboot (the ping's box was open until 16 s)"
    fi
    reboots=$(tail -n +$((lines_before + 1)) "$record" | grep 'TAVIKwebserver|Reboot|' | sed 's/.* -> \([0-9.]*\) .*/\1/' | sort | uniq -c)
    if [ "$(echo "$reboots" | wc -l)" = 1 ] && [ "$(echo "$reboots" | awk '{print $1}')" = 2 ]; then
        pass "a click on a device and on Reboot sends it two Reboot datagrams ($(echo $reboots))"
    else
        fail "Reboot datagrams after the clicks: ${reboots:-none}"
    fi
    rebooted=$(echo "$reboots" | awk 'NR == 1 {print $2}')
    click 60 300 1      # the first device again, back after its reboot
    click 358 20 1      # Set IP
    click 60 347        # Fix IP
    click 259 369       # the last octet of the IP address: the click selects its text
    xdotool type 77
    after_set_ip=$(($(wc -l <"$record") + 1))
    click 334 458 4     # OK
    set_ips=$(tail -n +$((lines_before + 1)) "$record" | grep -c 'TAVIKwebserver|SetIP')
    [ "$set_ips" -ge 1 ] && pass "Set IP, Fix IP, a typed octet and OK send SetIP" || fail "no SetIP datagram after OK"

    # The list's menu by a right click, and "Search addresses..." clicked (the menu opens at the
    # pointer; its items sit where the group's screenshot shows them) with the routed device's
    # address typed: the window asks it by unicast and keeps it in its settings.
    search_ended "$after_set_ip" # the list takes no clicks while the command and its refresh run
    xdotool mousemove --window "$window" 60 330 click 3
    sleep 1
    import -window root "$out/list-menu-under-wine.png" 2>/dev/null
    click 140 457
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Search addresses$' 2>/dev/null | head -n 1)
    if [ -n "$dialog" ]; then
        xdotool type "$SIMLAN_ROUTED"
        import -window "$dialog" "$out/search-addresses-under-wine.png" 2>/dev/null
        routed_before=$(wc -l <"$record.routed" 2>/dev/null || echo 0)
        xdotool key Return
        sleep 5
        asked=$(tail -n +$((routed_before + 1)) "$record.routed" 2>/dev/null | grep -c 'TAVIKwebserver|List|')
        [ "$asked" -ge 1 ] && pass "Search addresses... with $SIMLAN_ROUTED: the window asked the routed device ($asked list requests)" ||
            fail "after Search addresses... the routed device heard no list request"
        wine reg query 'HKCU\Software\Tavik\Hoptrace\search' 2>/dev/null | grep -q "$SIMLAN_ROUTED" &&
            pass "the addresses are kept in the settings (the registry)" || fail "the addresses are not in the registry"
        search_ended
    else
        fail "no Search addresses dialog after the list's menu"
    fi
    # "Save list as..." into the platform's file dialog: the file holds the list as the command
    # line's CSV, after a byte order mark.
    xdotool mousemove --window "$window" 60 330 click 3
    sleep 1
    click 140 426
    saver=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save list as$' 2>/dev/null | head -n 1)
    if [ -n "$saver" ]; then
        import -window "$saver" "$out/save-list-under-wine.png" 2>/dev/null
        # With no window manager the dialog gets the keyboard only when asked; its file name
        # box has it then.
        xdotool windowfocus --sync "$saver" 2>/dev/null
        sleep 0.5
        xdotool key Home shift+End # a Windows edit box takes no Ctrl+A
        xdotool type 'C:\saved-list.csv'
        xdotool key Return
        saved=$WINEPREFIX/drive_c/saved-list.csv
        for _ in $(seq 50); do [ -s "$saved" ] && break; sleep 0.2; done
        if [ -f "$saved" ] && [ "$(head -c 3 "$saved" | od -An -tx1 | tr -d ' ')" = efbbbf ] &&
            grep -q 'mac,host_name,' "$saved" 2>/dev/null; then
            pass "Save list as... wrote C:\\saved-list.csv: a byte order mark and the CSV ($(($(wc -l <"$saved") - 1)) devices)"
        else
            fail "Save list as... left no CSV with a byte order mark at C:\\saved-list.csv"
        fi
    else
        fail "no Save list as dialog after the list's menu"
    fi
    # Every command of the window is in the commissioning log, in the user's application data.
    log=$(find "$WINEPREFIX/drive_c/users" -path '*Tavik/Hoptrace/commissioning-log.jsonl' 2>/dev/null | head -n 1)
    if [ -n "$log" ] && grep -q '"command":"reboot"' "$log" && grep -q '"command":"set-ip"' "$log"; then
        pass "the window's Reboot and Set IP are in ${log#"$WINEPREFIX/drive_c/"}"
    else
        fail "no commissioning log with the window's Reboot and Set IP under %APPDATA% (${log:-none})"
    fi

    python3 "$root/tests/demo/wm-close.py" "$window"
    for _ in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.1; done
    if kill -0 $program 2>/dev/null; then
        fail "the program still runs 10 s after a close request"
        kill $program
    else
        wait $program
        status=$?
        [ $status = 0 ] && pass "a close request ends the program with exit code 0" || fail "the program ended with exit code $status"
    fi
    # The folder ships what the program loads and nothing else: each of its DLLs was loaded by the
    # window in the run above.
    unused=""
    for dll in $(cd "$installed" && find . -name '*.dll' | sed 's|^\./||'); do
        name=$(basename "$dll")
        grep -q "Loaded L\".*\\\\$name\"" "$out/window.log" || unused="$unused $dll"
    done
    [ -z "$unused" ] && pass "the window loaded every DLL of the folder" || fail "the folder ships DLLs the window never loaded:$unused"
    cli list --json --seconds 2 --search "$SIMLAN_ROUTED" >"$out/list-routed.json"
    grep -q '"reached_by_address": true' "$out/list-routed.json" &&
        pass "hoptrace-cli.exe list --search $SIMLAN_ROUTED finds the routed device" ||
        fail "hoptrace-cli.exe list --search did not find the routed device"
    # The address typed in the window is the one the device took.
    cli list --json --seconds 2 >"$out/list-window.json"
    if python3 -c 'import json,sys; sys.exit(0 if any(x["address"].endswith(".77") for x in json.load(open(sys.argv[1]))) else 1)' \
        "$out/list-window.json"; then
        pass "a device took the address typed in the window (x.x.x.77)"
    else
        fail "no device at the typed address x.x.x.77 (the rebooted one was $rebooted)"
    fi

    # --- the uninstaller --------------------------------------------------------------------
    # The uninstaller runs on from a copy of itself in the temp folder: wait for what it removes.
    wine 'C:\Hoptrace\Uninstall.exe' /S </dev/null >/dev/null 2>&1
    for _ in $(seq 300); do [ -e "$installed/hoptrace.exe" ] || break; sleep 0.1; done
    [ ! -e "$installed/hoptrace.exe" ] && pass "the uninstaller removed the program" || fail "the uninstaller left $(ls "$installed")"
    exit $((failures > 0))
fi

# ---------------------------------------------------------------------------------------------
# Outside: prerequisites, the checks that need no network, then the LAN.
build=${1:?usage: $0 WINDOWS_BUILD SIMULATOR SERVICES_TESTS_EXE}
sim=${2:?} services_tests=${3:?}
for tool in wine wineserver Xvfb xdotool import convert compare python3 x86_64-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x "$sim" ] || skip "no simulator at $sim"
[ -f "$services_tests" ] || skip "no $services_tests (the Windows services group builds it)"
folder=$build/Hoptrace
installer=$(ls "$build"/Hoptrace-*-win64.exe 2>/dev/null | head -n 1)
[ -n "$installer" ] && [ -d "$folder" ] || skip "no Windows program in $build (scripts/build-windows.sh)"
"$root/scripts/simlan.sh" --check || skip "no private network namespace can be made here"
started=$(date +%s)

# The folder runs on a Windows PC with nothing installed: every DLL that an executable or a
# DLL in it imports is in it, or is one of Windows' own (d3d12: Windows 10 and later, which
# Qt 6.8 requires; its Gui imports it for the Direct3D 12 backend).
missing=$(python3 - "$folder" <<'PY'
import os, re, subprocess, sys
folder = sys.argv[1]
here = {f.lower() for _, _, files in os.walk(folder) for f in files}
system = re.compile(r"^(api-ms-win-.*|kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|ws2_32|iphlpapi|"
                    r"wlanapi|winhttp|version|winmm|imm32|dwmapi|uxtheme|netapi32|userenv|mpr|comdlg32|shlwapi|dwrite|"
                    r"d3d9|d3d11|d3d12|dxgi|d2d1|setupapi|authz|crypt32|secur32|bcrypt|ncrypt|dnsapi|msvcrt|ntdll|"
                    r"comctl32|wtsapi32|rpcrt4|winspool\.drv|oleacc|uiautomationcore|shcore|cfgmgr32)(\.dll)?$")
for dirpath, _, files in os.walk(folder):
    for f in files:
        if not f.lower().endswith((".exe", ".dll")):
            continue
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", os.path.join(dirpath, f)],
                              capture_output=True, text=True).stdout
        for dll in re.findall(r"DLL Name: (\S+)", dump):
            if dll.lower() not in here and not system.match(dll.lower()):
                print("%s needs %s" % (f, dll))
PY
)
[ -z "$missing" ] && pass "every DLL the folder's files import is in it or is Windows' own" || fail "the folder lacks: $missing"
# One C++ runtime in the process: the executables load Qt's libstdc++-6.dll, not a copy of their own.
for exe in hoptrace.exe hoptrace-cli.exe; do
    if x86_64-w64-mingw32-objdump -p "$folder/$exe" | grep 'DLL Name: libstdc++-6.dll' >/dev/null; then
        pass "$exe shares Qt's C++ runtime (libstdc++-6.dll)"
    else
        fail "$exe does not load libstdc++-6.dll: a second C++ runtime beside Qt's"
    fi
done
# The command line runs on Qt Core and Network alone: no Gui or Widgets DLL is loaded for it.
cli_qt=$(x86_64-w64-mingw32-objdump -p "$folder/hoptrace-cli.exe" | sed -n 's/.*DLL Name: \(Qt6[A-Za-z]*\.dll\)/\1/p' | tr '\n' ' ')
case $cli_qt in
    *Gui* | *Widgets*) fail "hoptrace-cli.exe imports $cli_qt" ;;
    *Core*) pass "hoptrace-cli.exe imports no Qt but $cli_qt" ;;
    *) fail "hoptrace-cli.exe imports no Qt Core ($cli_qt)" ;;
esac
# The installer is a 64-bit program (a 32-bit one needs a 32-bit layer that wine64 lacks).
machine=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(4096); o=struct.unpack_from("<I",d,0x3c)[0];
print(hex(struct.unpack_from("<H",d,o+4)[0]))' "$installer")
[ "$machine" = 0x8664 ] && pass "the installer is a 64-bit program" || fail "the installer's machine is $machine, not x64"
# The firewall rule, read from the installer's generated script (no firewall under wine): added
# for both executables on install, removed on uninstall.
script=$build/_CPack_Packages/win64/NSIS/project.nsi
for exe in hoptrace.exe hoptrace-cli.exe; do
    rule="netsh advfirewall firewall add rule name=\"Tavik Hoptrace ($exe)\" dir=in action=allow program=\"\$INSTDIR\\\\$exe\""
    removal="netsh advfirewall firewall delete rule name=\"Tavik Hoptrace ($exe)\""
    sections=$(awk -v rule="$rule" -v removal="$removal" '
        /^Section / { section = $0 }
        index($0, rule) { print "add in " section }
        index($0, removal) { print "delete in " section }' "$script")
    # (Here-strings: with pipefail, grep -q ending early could fail the echo before it.)
    if grep -q '^add in Section "-Core installation"' <<<"$sections" &&
        grep -q '^delete in Section "Uninstall"' <<<"$sections"; then
        pass "the installer adds an inbound firewall rule for $exe and the uninstaller removes it"
    else
        fail "the firewall rule for $exe in $script: ${sections:-none}"
    fi
done

out=$build/test-under-wine
rm -rf "$out"
mkdir -p "$out"
"$root/scripts/simlan.sh" --sim "$sim" --record "$out/sim-record.txt" --sim-log "$out/sim.log" \
    -- bash "$0" _inside "$(realpath "$build")" "$(realpath "$services_tests")" "$(realpath "$out")"
status=$?
[ $status = 0 ] || failures=$((failures + 1))
[ $status = 77 ] && skip "no private network namespace"
echo "The screenshot of the window: $out/hoptrace-under-wine.png"
echo "Windows program group: $(($(date +%s) - started)) s"
[ $failures = 0 ] && echo "windows-program: passed" || echo "windows-program: FAILED ($failures)"
exit $((failures > 0))
