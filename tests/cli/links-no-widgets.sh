#!/bin/sh
# The command line and the simulator run on Qt Core (and Network) alone: what their built
# binaries ask the loader for holds no Qt Gui, Widgets or D-Bus. links-no-widgets.sh BINARY...
status=0
for binary in "$@"; do
    needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
    case " $needed " in
        *" libQt6Core.so.6 "*) ;;
        *) echo "FAIL: $(basename "$binary") does not load Qt Core: $needed" && status=1 && continue ;;
    esac
    if printf '%s\n' $needed | grep -E '^libQt6(Gui|Widgets|DBus)'; then
        echo "FAIL: $(basename "$binary") loads the libraries above" && status=1
    else
        echo "PASS: $(basename "$binary") loads $needed"
    fi
done
exit $status
