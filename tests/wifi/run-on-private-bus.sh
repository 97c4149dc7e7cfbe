#!/bin/sh
# Runs a test on a private D-Bus daemon standing in for the system bus, so that its NetworkManager is a
# mock and nothing reaches the machine's own services. 77 (skipped) without the daemon or the mock library.
missing=77 && [ "${CI:-}" = true ] && missing=1 # under CI a missing tool is a failure
command -v dbus-run-session >/dev/null 2>&1 && /usr/bin/python3 -c 'import dbusmock' 2>/dev/null ||
    { echo "dbus-run-session or python3-dbusmock is missing" >&2; exit $missing; }
exec dbus-run-session -- sh -c 'export DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" HOPTRACE_PRIVATE_SYSTEM_BUS=1; exec "$@"' sh "$@"
