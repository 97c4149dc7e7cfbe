#pragma once

// End-to-end tests run the real program parts on real sockets, but only inside the
// simulated LAN of scripts/simlan.sh: private network namespaces that the test makes
// itself, so nothing they send reaches this machine's network.
//
// A class that needs the LAN starts its initTestCase() with
//     if (!SimulatedLan::inside())
//         QSKIP("runs only inside the simulated LAN");
// and a class that runs normally holds one case per such class:
//     void discovery() { SimulatedLan::runTestClass("DiscoveryLanTest"); }
// which runs this executable again inside a fresh LAN, restricted to that class.
class SimulatedLan final {
public:
    SimulatedLan() = delete;

    // True only in the "PC" namespace that simlan.sh made, never in the one it left.
    static bool inside();

    // Runs the QtTest class className of this executable inside a fresh simulated LAN
    // (without a simulator: the class starts its own) and records the outcome in the
    // calling test function. Skips where no namespace can be made, except under CI=true.
    static void runTestClass(const char* className);
};
