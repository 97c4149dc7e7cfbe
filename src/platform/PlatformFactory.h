#pragma once

#include "Services.h"
#include "UdpSocket.h"

#include <memory>

class EventWaiter;
class TimerFactory;

// Owns the real implementations for the running operating system.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    virtual Services& services() = 0;
};

// Defined once in each platform folder; the build compiles the folder of the target system.
// receiveBufferBytes is what the UDP socket asks of the system (a benchmark may ask for a
// stock desktop's size).
std::unique_ptr<PlatformServices>
CreatePlatformServices(int receiveBufferBytes = UdpSocket::kProgramReceiveBufferBytes);

// The network services alone, for the command line: no window, no WLAN, no processes.
struct NetworkServices {
    Clock& clock;
    EventWaiter& waiter;
    TimerFactory& timers; // they tick while the waiter lets the event loop run
    UdpSocket& socket;
    AdapterList& adapters;
    EchoTest& echo;
    NeighbourTable& neighbours;
};

class PlatformNetwork {
public:
    virtual ~PlatformNetwork() = default;
    virtual NetworkServices& network() = 0;
};

std::unique_ptr<PlatformNetwork> CreatePlatformNetwork();
