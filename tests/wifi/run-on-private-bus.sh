#!/bin/sh
# Runs a test with a private D-Bus daemon standing in for the system bus, so that
# the test's NetworkManager is a mock and nothing reaches the machine's own services.
# Exit code 77 (skipped) when the bus daemon or the mock library is missing.
command -v dbus-run-session >/dev/null 2>&1 || exit 77
/usr/bin/python3 -c 'import dbusmock' >/dev/null 2>&1 || exit 77
exec dbus-run-session -- sh -c '
    export DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" HOPTRACE_PRIVATE_SYSTEM_BUS=1
    exec "$@"' sh "$@"
