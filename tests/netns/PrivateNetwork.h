#pragma once

// Real sockets in tests, but only inside a private network that the test makes itself
// (tests/netns/private-network.sh does the work; its top comment shows the topology steps).
//
// How a QtTest executable uses it:
//  1. Put the cases that need the network into a class of their own, registered with
//         HOPTRACE_TEST_WHEN(MyDeviceNetTest, PrivateNetwork::inside)
//     so that it runs only inside the namespace, and whose initTestCase()
//     begins with
//         if (!PrivateNetwork::inside())
//             QSKIP("runs only inside a private network");
//     and then builds its topology, e.g.
//         QVERIFY(PrivateNetwork::run({"node", "dev"}));
//         QVERIFY(PrivateNetwork::run({"link", "self", "pc0", "10.1.0.1/24", "dev", "dev0", "10.1.0.2/24"}));
//  2. In a class that runs normally, add one case per such class:
//         void deviceNetwork() { PrivateNetwork::runTestClass("MyDeviceNetTest"); }
//     It runs this executable again in a fresh namespace, restricted to that class
//     ("-class", see tests/TestMain.cpp), forwards its output and fails when it fails.
//     Where no namespace can be made it skips, except under CI=true, where it fails.
//  3. End-to-end classes run on the simulated LAN of scripts/simlan.sh instead (two
//     adapters, a device namespace, no simulator started: the class starts its own):
//         HOPTRACE_TEST_WHEN(MyLanTest, PrivateNetwork::onSimulatedLan)
//         void lan() { PrivateNetwork::runTestClass("MyLanTest", PrivateNetwork::Kind::SimulatedLan); }
//  Link the library: target_link_libraries(<test> PRIVATE hoptrace_netns), after
//  `if(NOT TARGET hoptrace_netns) add_subdirectory(<path>/netns <bindir>/netns) endif()`.

#include <QStringList>

class PrivateNetwork final {
public:
    PrivateNetwork() = delete;

    enum class Kind {
        Bare,         // only "lo"; the class builds its topology with run()
        SimulatedLan, // scripts/simlan.sh: the PC's two adapters and the device namespace
    };

    // True only in a namespace that private-network.sh made: the environment names it, the
    // first process of the PID namespace is the script, and the network is not the host's.
    static bool inside();
    // True only in the "PC" namespace that simlan.sh made, never in the one it left.
    static bool onSimulatedLan();

    // Runs private-network.sh with args (e.g. {"in", "r1", "ip", "route", ...}); on failure
    // its output goes to the test log. Refuses outside a private network.
    static bool run(const QStringList& args);

    // Runs the QtTest class className of this executable inside a fresh private network of
    // that kind. Call it from a test function: it records the pass, failure or skip there.
    static void runTestClass(const char* className, Kind kind = Kind::Bare);

    static QString scriptPath();
};
