#pragma once

#include <QStringList>

// Real sockets in tests, only inside a private network the test makes itself: a class that
// needs one is registered with HOPTRACE_TEST_WHEN(Class, PrivateNetwork::inside) (or
// onSimulatedLan), builds its topology with run() in initTestCase(), and a class that runs
// normally starts it with runTestClass("Class"): this executable again, restricted to that
// class ("-class", tests/TestMain.cpp), in a fresh namespace. Where none can be made that
// skips, except under CI=true, where it fails. Link hoptrace_netns (tests/netns).
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

    // Runs private-network.sh with args (e.g. {"in", "r1", "ip", "route", ...}); on failure
    // its output goes to the test log. Refuses outside a private network.
    static bool run(const QStringList& args);

    // Runs the class className of this executable inside a fresh private network of that
    // kind, from a test function: it records the pass, failure or skip there.
    static void runTestClass(const char* className, Kind kind = Kind::Bare);
};
