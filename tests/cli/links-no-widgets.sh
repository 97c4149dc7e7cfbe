#!/bin/sh
# The command line and the simulator run on Qt Core and Network alone: the libraries their
# built binaries ask the loader for hold no Qt Gui, Widgets or D-Bus (and no X or font stack
# through them). links-no-widgets.sh BINARY...
failures=0
for binary in "$@"; do
    needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
    case " $needed " in
        *" libQt6Core.so.6 "*) ;;
        *) echo "FAIL: $(basename "$binary") does not load Qt Core: $needed"; failures=$((failures + 1)); continue ;;
    esac
    extra=$(printf '%s\n' $needed | grep -E '^libQt6(Gui|Widgets|DBus)|^libX|^libxcb|^libfontconfig|^libfreetype|^libGL' | tr '\n' ' ')
    if [ -n "$extra" ]; then
        echo "FAIL: $(basename "$binary") loads $extra"
        failures=$((failures + 1))
    else
        echo "PASS: $(basename "$binary") loads $needed"
    fi
done
exit $((failures > 0))
