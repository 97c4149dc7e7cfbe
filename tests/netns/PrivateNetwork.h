#pragma once

#include <QStringList>

// Real sockets in tests, only inside a private network the test makes itself: a class that
// needs one is registered with HOPTRACE_TEST_WHEN(Class, PrivateNetwork::inside) (or
// onSimulatedLan), and a class that runs normally starts it with runTestClass("Class"): this
// executable again, restricted to that class, in a fresh namespace. Where none can be made
// that skips, except under CI=true, where it fails.
class PrivateNetwork final {
public:
    PrivateNetwork() = delete;

    enum class Kind {
        Bare,         // only "lo"; the class builds its topology with run() (private-network.sh)
        SimulatedLan, // scripts/simlan.sh --no-sim: the PC's two adapters and the device namespace
    };

    // True only in a namespace that private-network.sh made: the environment names it, the
    // first process of the PID namespace is the script, and the network is not the host's.
    static bool inside();
    // True only in the "PC" namespace of simlan.sh's LAN, which private-network.sh made too.
    static bool onSimulatedLan();

    // Runs private-network.sh with args (e.g. {"in", "r1", "ip", "route", ...}), which refuses
    // to run outside a private network.
    static bool run(const QStringList& args);

    // From a test function: records the class's pass, failure or skip there.
    static void runTestClass(const char* className, Kind kind = Kind::Bare);
};
