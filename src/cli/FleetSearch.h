#pragma once

#include "common/AdapterTable.h"
#include "devices/DeviceReply.h"

#include <functional>
#include <string>
#include <vector>

struct NetworkServices;

// One device as a search from the command line heard it.
struct FoundDevice {
    DeviceReply reply;
    int interfaceIndex = -1; // the adapter its first reply arrived on
    double firstHeard = 0.0; // seconds after the search began
    double lastHeard = 0.0;
};

// The window's search without the window: the list request out of every adapter once a
// second, the replies accepted by the same rule, one device per MAC in the order heard.
class FleetSearch final {
public:
    FleetSearch(NetworkServices& network, std::vector<NicRecord> nics);

    // Searches for at most `seconds`; ends early once `enough` holds for what was heard.
    std::vector<FoundDevice> run(double seconds,
                                 const std::function<bool(const std::vector<FoundDevice>&)>& enough = {});
    // Sends one datagram out of every adapter; false when it left through none of them.
    bool broadcast(const std::string& datagram);
    // Lets `seconds` pass with the event loop running.
    void pause(double seconds);
    // Drops the datagrams waiting now: replies to requests sent before a command.
    void discardWaiting();
    const std::vector<NicRecord>& nics() const { return nics_; }

private:
    double elapsedSince(double start) const;
    void take(double start, std::vector<FoundDevice>& devices);

    NetworkServices& network_;
    std::vector<NicRecord> nics_;
    AdapterTable table_; // the same adapters, for the window's send rule
};
