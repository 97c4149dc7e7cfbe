#pragma once

#include <string>

class EchoTest;

// The reachability test the window offers to the ping button and to the gateway
// connection sequence: true when the address itself answers an echo request within
// two hops.
class Pinger final {
public:
    explicit Pinger(EchoTest& echo);

    // Blocks its thread for at most about one second (the window runs it on a thread of its
    // own). A text that is not a plain dotted IPv4 address is never sent anywhere and counts
    // as not answering.
    bool Ping(const std::string& address) const;

private:
    EchoTest* echo_;
};
