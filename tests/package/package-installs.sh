#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root as dpkg would install it, checks
# what a desktop and a package manager read from it, and runs the two programs it installed:
# the window (offscreen) and hoptrace-cli listing a simulated device, inside a private LAN.
# Usage: package-installs.sh CPACK_CONFIG VERSION SIMLAN_SCRIPT SIMULATOR
# Exit 77 (skip) without dpkg-deb, except under CI=true, which also requires the checkers.
set -u
config=$1 version=$2 simlan=$3 simulator=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
have() {
    command -v "$1" >/dev/null 2>&1 && return 0
    [ "${CI:-}" = true ] && fail "$1 is not installed" || echo "SKIP: $1 is not installed"
    return 1
}
have dpkg-deb || { [ $failed = 1 ] || exit 77; exit 1; }

cpack --config "$config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work/out/hoptrace_${version}"_*.deb 2>/dev/null)
[ -f "$deb" ] || { fail "no hoptrace_${version}_*.deb"; cat "$work/cpack.log"; exit 1; }
root=$work/root && dpkg -x "$deb" "$root" || exit 1

for program in hoptrace hoptrace-cli; do
    [ -x "$root/usr/bin/$program" ] || fail "no executable /usr/bin/$program"
    [ -s "$root/usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
done
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the Qt libraries are not declared: $(dpkg-deb -f "$deb" Depends)"
for recommended in network-manager iputils-arping; do
    dpkg-deb -f "$deb" Recommends | grep -q "$recommended" || fail "$recommended is not recommended"
done

desktop=$(ls "$root"/usr/share/applications/*.desktop 2>/dev/null) && [ -f "$desktop" ] || fail "no desktop entry"
field() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(field Exec)" = hoptrace ] || fail "the desktop entry starts '$(field Exec)'"
case ";$(field Categories)" in *";Network;"*) ;; *) fail "not in the Network category: $(field Categories)" ;; esac
for size in 16 32 48 256; do
    [ -s "$root/usr/share/icons/hicolor/${size}x$size/apps/$(field Icon).png" ] || fail "no ${size}px icon '$(field Icon)'"
done
metainfo=$root/usr/share/metainfo/$(basename "$desktop" .desktop).metainfo.xml
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not name release $version"
[ -s "$root/usr/share/doc/hoptrace/copyright" ] || fail "no copyright file"

if have desktop-file-validate; then desktop-file-validate "$desktop" || fail "desktop-file-validate"; fi
# The program has no public homepage yet, and AppStream 1.0 rates a missing one a warning, which
# fails the validation: that one finding, by name, counts as information. AppStream 0.16 does not
# know the tag (and refuses the override), nor does it check the homepage. Every other finding
# keeps its severity, and a warning or an error fails.
validate_metainfo() {
    appstreamcli validate --no-net --override=url-homepage-missing=info "$1" >"$work/as.log" 2>&1 && return 0
    grep -q "'url-homepage-missing' is not recognized" "$work/as.log" || return 1
    appstreamcli validate --no-net "$1" >"$work/as.log" 2>&1
}
if have appstreamcli; then validate_metainfo "$metainfo" || { cat "$work/as.log"; fail "appstreamcli validate"; }; fi
if have lintian; then lintian "$deb" 2>&1 | grep "^E:" && fail "lintian reports errors"; fi

# What it installed, run as a user would: no locale set (Qt warns on every start without a
# UTF-8 one unless the program takes C.UTF-8 itself), so nothing but the help may come out.
env -u LC_ALL -u LC_CTYPE LANG=C "$root/usr/bin/hoptrace-cli" --help >"$work/help.out" 2>"$work/help.err" \
    && grep -q "^Usage: hoptrace-cli VERB" "$work/help.out" && [ ! -s "$work/help.err" ] \
    || fail "hoptrace-cli --help: $(cat "$work/help.err")"
echo "name=PKG-1,mac=00:08:DC:7E:00:01,ip=192.168.1.77,iface=sw1" >"$work/devices.conf"
cat >"$work/inside.sh" <<'INSIDE'
root=$1 work=$2
QT_QPA_PLATFORM=offscreen "$root/usr/bin/hoptrace" >"$work/window.out" 2>&1 &
window=$!
"$root/usr/bin/hoptrace-cli" list --seconds 2 --csv >"$work/list.csv" 2>"$work/list.err"
sleep 1
kill -0 "$window" || { echo "the window did not keep running"; exit 1; }
kill "$window"
INSIDE
env -u LC_ALL -u LC_CTYPE LANG=C bash "$simlan" --sim "$simulator" --config "$work/devices.conf" \
    -- sh "$work/inside.sh" "$root" "$work" >"$work/lan.log" 2>&1
lan=$?
if [ $lan = 77 ]; then
    [ "${CI:-}" = true ] && fail "no private network namespace for the installed programs" \
        || echo "SKIP: no private network namespace for the installed programs"
elif [ $lan != 0 ]; then
    fail "the installed programs on the simulated LAN: $(cat "$work/lan.log")"
else
    grep -q "00:08:DC:7E:00:01" "$work/list.csv" || fail "hoptrace-cli list found nothing: $(cat "$work/list.err")"
    [ ! -s "$work/window.out" ] || fail "the window printed: $(cat "$work/window.out")"
fi
[ $failed = 0 ] && echo "PASS: $(basename "$deb") installs hoptrace and hoptrace-cli, their manual pages, the desktop entry, icons and metainfo; both run"
exit $failed
