#!/usr/bin/env python3
"""Talks to Tavik webservers the way the program does, for checking a simulated LAN.

Run it only inside a private network namespace (scripts/simlan.sh runs it there):
  tavik-probe.py list [SECONDS]        broadcast the list request on every adapter, print replies
  tavik-probe.py reboot ADDRESS        send Reboot twice to ADDRESS
  tavik-probe.py default ADDRESS       send Default to ADDRESS
  tavik-probe.py setdhcp MAC PORT      broadcast SetDHCP
  tavik-probe.py setip MAC ADDRESS PORT MASK GATEWAY DNS   broadcast SetIP
"""
import socket
import struct
import sys
import time

PREFIX = b"TAVIKwebserver|"
PORT = 8080
IP_PKTINFO = getattr(socket, "IP_PKTINFO", 8)


def open_socket():
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    s.bind(("0.0.0.0", PORT))
    return s


def send_on(s, data, host, ifindex=0):
    # in_pktinfo: interface index, source address (0: the interface's), header address.
    info = struct.pack("I4s4s", ifindex, bytes(4), bytes(4))
    s.sendmsg([data], [(socket.IPPROTO_IP, IP_PKTINFO, info)], 0, (host, PORT))


def mac_tail(mac):
    def pair(text):
        value = 0
        for c in text:
            if c not in "0123456789abcdefABCDEF":
                break
            value = value * 16 + int(c, 16)
        return value
    return bytes(pair(mac[i:i + 2]) for i in (9, 12, 15))


def octets(dotted):
    return bytes(int(x) for x in dotted.split("."))


def listen(s, seconds):
    s.settimeout(0.1)
    end = time.monotonic() + seconds
    seen = set()
    while time.monotonic() < end:
        try:
            data, sender = s.recvfrom(65536)
        except socket.timeout:
            continue
        if data.startswith(PREFIX):
            continue
        mac_at = data.find(b"MAC Address")
        mac = data[mac_at + 14:mac_at + 31] if mac_at >= 0 else b""
        print(f"--- from {sender[0]}:{sender[1]}{' (again)' if mac in seen else ''}")
        seen.add(mac)
        print(data.decode("latin-1").replace("\r\n", "\n"), end="")
    print(f"=== {len(seen)} webserver(s)")


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    command, args = argv[1], argv[2:]
    s = open_socket()
    if command == "list":
        seconds = float(args[0]) if args else 3.0
        for index, name in socket.if_nameindex():
            if name != "lo":
                send_on(s, PREFIX + b"List|", "255.255.255.255", index)
        listen(s, seconds)
    elif command == "reboot":
        for _ in range(2):
            send_on(s, PREFIX + b"Reboot|", args[0])
    elif command == "default":
        send_on(s, PREFIX + b"Default|", args[0])
    elif command == "setdhcp":
        send_on(s, PREFIX + b"SetDHCP|" + mac_tail(args[0]) + struct.pack(">H", int(args[1])) + b"|",
                "255.255.255.255")
    elif command == "setip":
        mac, address, port, mask, gateway, dns = args
        body = mac_tail(mac) + octets(address) + struct.pack(">H", int(port)) + octets(mask) + octets(gateway)
        send_on(s, PREFIX + b"SetIP|" + body + octets(dns) + b"|", "255.255.255.255")
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
