#pragma once

// The ways this system can send an ICMP echo request, in the order they are tried.
enum class EchoMethod {
    DatagramSocket, // unprivileged ICMP socket; the group must lie in net.ipv4.ping_group_range
    RawSocket,      // needs root or CAP_NET_RAW
    PingProgram,    // the system's ping, which carries its own privilege
};

enum class EchoOutcome {
    Answered,    // the address itself sent the matching echo reply in time
    NotAnswered, // the request went out (or could not be routed) and no matching reply came
    Unavailable, // this method cannot be used here; another one may
};
