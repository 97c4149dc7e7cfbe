#!/usr/bin/env bash
# A simulated LAN with Tavik webservers, made of private network namespaces only: nothing
# it carries can reach this machine's own network.
#
#   "PC" namespace (runs COMMAND)          "devices" namespace (runs tavik-sim)
#   lan1 192.168.1.10/24  <--- veth --->   sw1 192.168.1.1/24 + device addresses
#   lan2 172.16.5.10/24   <--- veth --->   sw2 172.16.5.1/24  + device addresses
#   default routes via 192.168.1.1 (lan1) and 172.16.5.1 (lan2, higher metric)
#
# Behind the gateway 192.168.1.1 a routed segment, which no broadcast of the PC reaches:
#   "devices" sw3 10.76.0.1/30 <-> rt0 10.76.0.2/30 "router" rt1 10.77.0.1/24 <-> far0 10.77.0.20/24 "routed"
#   Both "devices" and "router" forward IPv4. The "routed" namespace runs a second tavik-sim with
#   one device, WS-ROUTED (00:08:DC:3C:00:07) at 10.77.0.20, whose default route leads back
#   through the router: it answers a list request sent to its address, not the broadcast.
#   The window finds it with "Search addresses..." and 10.77.0.20, the command line with
#   `hoptrace-cli list --search 10.77.0.20`. With --sim-arg --broadcast-replies its reply is
#   a broadcast too, which no router passes: then nothing finds it.
#
# Usage: scripts/simlan.sh [options] [--] COMMAND [ARGS...]
#   --sim PATH         the simulator (default: build/tools/tavik-sim/tavik-sim)
#   --config FILE      the simulator's device list (default: six devices, see below)
#   --sim-arg ARG      one more argument of both simulators (repeatable)
#   --sim-log FILE     the simulator's log (default: standard error)
#   --record FILE      let the simulator record every datagram it receives (the routed
#                      segment's simulator in FILE.routed)
#   --no-sim           start no simulator; COMMAND starts its own (see SIMLAN_* below)
#   --check            only tell whether a private namespace can be made (0 yes, 77 no)
#
# COMMAND runs in the PC namespace with these variables set:
#   SIMLAN_INSIDE=1, SIMLAN_DEVICE_PID (nsenter -t "$SIMLAN_DEVICE_PID" -n ... runs a command
#   on the device side), SIMLAN_SIM (the simulator), SIMLAN_DIR (a scratch directory removed
#   afterwards), SIMLAN_ADAPTERS ("lan1=192.168.1.10/24 lan2=172.16.5.10/24"),
#   SIMLAN_ROUTED (10.77.0.20, the routed device's address), SIMLAN_ROUTED_PID (the same
#   for the routed segment's namespace, where a test with --no-sim starts its own simulator),
#   SIMLAN_HOST_NETNS (the network namespace that was left, to check against).
# The system and session buses are cut off (their addresses point nowhere), so COMMAND
# cannot drive this machine's network or WLAN services nor start a bus daemon; X11 and
# Wayland sockets are files and stay reachable. COMMAND and all it starts live in a PID
# namespace that ends with the LAN. The namespaces come from scripts/private-network.sh.
#
# Exit status: COMMAND's; 77 when no private namespace can be made; 1 when the LAN or
# the simulator cannot be set up.
set -uo pipefail
# The LAN's steps may use programs of /usr/sbin (nft, tc, sysctl), which is not on a normal
# user's PATH on Debian.
case ":$PATH:" in *:/usr/sbin:*) ;; *) PATH=$PATH:/usr/sbin:/sbin && export PATH ;; esac

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
sim="$here/../build/tools/tavik-sim/tavik-sim"
config=""
sim_args=()
sim_log=""
record=""
start_sim=1
inside=0
check=0

while [ $# -gt 0 ]; do
    case "$1" in
        --sim) sim="$2"; shift 2 ;;
        --config) config="$2"; shift 2 ;;
        --sim-arg) sim_args+=("$2"); shift 2 ;;
        --sim-log) sim_log="$2"; shift 2 ;;
        --record) record="$2"; shift 2 ;;
        --no-sim) start_sim=0; shift ;;
        --check) check=1; shift ;;
        --inside) inside=1; shift ;;
        --) shift; break ;;
        -h|--help) sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
        -*) echo "simlan: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done

network="$here/private-network.sh"
if [ "$inside" = 0 ]; then
    # private-network.sh makes the namespaces: a user namespace where one is needed (anyone
    # but root, and root without CAP_NET_ADMIN in a container), and a PID namespace of its
    # own, so that everything started inside (a bus daemon a library launched, say) ends
    # with the LAN. It answers 77 when no namespace can be made here.
    [ "$check" = 1 ] && exec "$network" enter true
    if [ $# -eq 0 ]; then
        echo "simlan: no command given (see --help)" >&2
        exit 2
    fi
    if [ "$start_sim" = 1 ] && [ ! -x "$sim" ]; then
        echo "simlan: no simulator at $sim (build it: cmake --build build --target tavik-sim)" >&2
        exit 1
    fi
    forward=(--sim "$(realpath "$sim" 2>/dev/null || echo "$sim")")
    [ -n "$config" ] && forward+=(--config "$(realpath "$config")")
    for a in "${sim_args[@]+"${sim_args[@]}"}"; do forward+=(--sim-arg "$a"); done
    [ -n "$sim_log" ] && forward+=(--sim-log "$(realpath -m "$sim_log")")
    [ -n "$record" ] && forward+=(--record "$(realpath -m "$record")")
    [ "$start_sim" = 0 ] && forward+=(--no-sim)
    host_netns="$(readlink /proc/self/ns/net)"
    exec env SIMLAN_HOST_NETNS="$host_netns" "$network" enter bash "$here/$(basename "$0")" --inside "${forward[@]}" -- "$@"
fi

# ---- inside the PC namespace ----
if [ "$(readlink /proc/self/ns/net)" = "${SIMLAN_HOST_NETNS:-}" ]; then
    echo "simlan: still in this machine's network namespace; refusing to go on" >&2
    exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/simlan.XXXXXX")"
sim_pid=""
routed_sim_pid=""
command_pid=""
cleanup() {
    [ -n "$command_pid" ] && kill -TERM "$command_pid" 2>/dev/null && wait "$command_pid" 2>/dev/null
    [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    [ -n "$routed_sim_pid" ] && kill -TERM "$routed_sim_pid" 2>/dev/null && wait "$routed_sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

fail() { echo "simlan: $*" >&2; exit 1; }

# The device side: a namespace of its own, held open by a process that ends with the LAN.
"$network" node devices || fail "no device namespace"
holder="$(cat "$HOPTRACE_PRIVATE_NETWORK/node.devices")"
"$network" link self lan1 192.168.1.10/24 devices sw1 192.168.1.1/24 || fail "cannot link lan1 and sw1"
"$network" link self lan2 172.16.5.10/24 devices sw2 172.16.5.1/24 || fail "cannot link lan2 and sw2"
ip route add default via 192.168.1.1 dev lan1 || fail "no default route"
ip route add default via 172.16.5.1 dev lan2 metric 200

# The routed segment: the gateway forwards to a router, the router to the segment. Broadcasts
# stop at the first of them, as they do at any router.
routed_address=10.77.0.20
"$network" node router || fail "no router namespace"
"$network" node routed || fail "no namespace for the routed segment"
routed_holder="$(cat "$HOPTRACE_PRIVATE_NETWORK/node.routed")"
"$network" link devices sw3 10.76.0.1/30 router rt0 10.76.0.2/30 || fail "cannot link the gateway and the router"
"$network" link router rt1 10.77.0.1/24 routed far0 "$routed_address/24" || fail "cannot link the routed segment"
"$network" router devices && "$network" router router || fail "cannot make the gateway and the router forward"
"$network" in devices ip route add 10.77.0.0/24 via 10.76.0.2 || fail "no route from the gateway to 10.77.0.0/24"
"$network" in router ip route add default via 10.76.0.1 || fail "no default route for the router"
"$network" in routed ip route add default via 10.77.0.1 || fail "no default route for the routed segment"

if [ -z "$config" ]; then
    config="$work/devices.conf"
    cat >"$config" <<'EOF'
# Office segment (lan1 / sw1); the first two answer as many devices do, ending with their DNS line
name=WS-OFFICE,mac=00:08:DC:1A:00:01,mode=static,ip=192.168.1.20,port=80,gw=192.168.1.1,dns=192.168.1.1,iface=sw1,omit=firmware
name=WS-LAB,mac=00:08:DC:1A:00:02,mode=dhcp,ip=192.168.1.57,port=8080,gw=192.168.1.1,dns=8.8.8.8,iface=sw1,omit=firmware
name=WS-SLOW,mac=00:08:DC:1A:00:03,mode=static,ip=192.168.1.30,port=80,gw=192.168.1.1,dns=192.168.1.1,iface=sw1,delay=1200,jitter=300
# An older device of another MAC range: listed, but not offered Set IP
name=WS-OLD,mac=00:0A:5B:20:00:04,mode=static,ip=192.168.1.40,port=80,gw=192.168.1.1,dns=192.168.1.1,iface=sw1,fw=1.07
# Workshop segment (lan2 / sw2); WS-HALL answers Set IP with its new settings ("IPsetup sent OK")
name=WS-HALL,mac=00:08:DC:2B:00:05,mode=static,ip=172.16.5.20,port=80,gw=172.16.5.1,dns=172.16.5.1,iface=sw2,confirm=yes
# Fresh from the factory: an address of no local network, reachable by broadcast only
name=WS-NEW,mac=00:08:DC:2B:00:06,mode=static,ip=192.168.0.100,port=80,gw=192.168.0.1,dns=192.168.0.1,iface=sw2
EOF
fi

export SIMLAN_INSIDE=1 SIMLAN_DEVICE_PID="$holder" SIMLAN_SIM="$sim" SIMLAN_DIR="$work"
export SIMLAN_ADAPTERS="lan1=192.168.1.10/24 lan2=172.16.5.10/24"
export SIMLAN_ROUTED="$routed_address" SIMLAN_ROUTED_PID="$routed_holder"
# Keep the program away from this machine's network and WLAN services. A session bus
# address that leads nowhere also keeps a library from launching a bus of its own where
# none is set (su, ssh -X, a bare X server): that daemon would outlive the program.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-system-bus"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
# Qt warns on every start without a private runtime directory (root shells, su, CI).
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
    mkdir -m 0700 "$work/runtime" && export XDG_RUNTIME_DIR="$work/runtime"
fi

if [ "$start_sim" = 1 ]; then
    args=(--manage-addresses --config "$config" --ready-file "$work/sim-ready")
    [ -n "$record" ] && args+=(--record "$record")
    args+=("${sim_args[@]+"${sim_args[@]}"}")
    if [ -n "$sim_log" ]; then
        setpriv --pdeathsig TERM nsenter -t "$holder" -n "$sim" "${args[@]}" 2>>"$sim_log" &
    else
        setpriv --pdeathsig TERM nsenter -t "$holder" -n "$sim" "${args[@]}" &
    fi
    sim_pid=$!
    # The routed segment's one device: its address is its interface's own; one it is given by
    # Set IP the simulator adds beside it, so that the device answers from there.
    routed_args=(--manage-addresses
        --device "name=WS-ROUTED,mac=00:08:DC:3C:00:07,mode=static,ip=$routed_address,port=80,gw=10.77.0.1,dns=10.77.0.1,iface=far0"
        --ready-file "$work/routed-ready" "${sim_args[@]+"${sim_args[@]}"}")
    [ -n "$record" ] && routed_args+=(--record "$record.routed")
    if [ -n "$sim_log" ]; then
        setpriv --pdeathsig TERM nsenter -t "$routed_holder" -n "$sim" "${routed_args[@]}" 2>>"$sim_log" &
    else
        setpriv --pdeathsig TERM nsenter -t "$routed_holder" -n "$sim" "${routed_args[@]}" &
    fi
    routed_sim_pid=$!
    for _ in $(seq 6000); do
        [ -e "$work/sim-ready" ] && [ -e "$work/routed-ready" ] && break
        kill -0 "$sim_pid" 2>/dev/null || { sim_pid=""; fail "the simulator did not start"; }
        kill -0 "$routed_sim_pid" 2>/dev/null || { routed_sim_pid=""; fail "the routed segment's simulator did not start"; }
        sleep 0.01
    done
    [ -e "$work/sim-ready" ] && [ -e "$work/routed-ready" ] || fail "the simulator did not get ready"
fi

# In the background, so that a signal to this script ends the LAN at once (the shell
# would hold its traps until a foreground command ends); the terminal stays its input.
"$@" <&0 &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=""
exit "$status"
