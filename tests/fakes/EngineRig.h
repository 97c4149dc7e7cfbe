#pragma once

#include "FakeServices.h"
#include "TavikReply.h"

#include "common/AdapterTable.h"
#include "devices/CommandChannel.h"
#include "devices/DeviceCommandRun.h"
#include "devices/DeviceSearch.h"

// The device engine on its own, as both front ends run it: virtual time, a recording socket on
// port 8080, one adapter (192.168.1.2/24, interface 2), the search (also the intake that hears
// a command's answers) and a command run; no window.
struct EngineRig {
    EngineRig()
    {
        nics.store(1, {"Ethernet adapter", "192.168.1.2", "255.255.255.0", "192.168.1.1", 2});
        nics.setCount(1);
        socket.bind(8080);
        QObject::connect(&search, &DeviceSearch::replyRead, &run, &DeviceCommandRun::replyRead);
    }
    // The moments of the sends to `host`, or of every send.
    std::vector<double> sendTimes(const std::string& host = {}) const
    {
        std::vector<double> times;
        for (const FakeUdpSocket::Sent& s : socket.sent)
            if (host.empty() || s.host == host)
                times.push_back(s.at);
        return times;
    }

    VirtualTime time;
    FakeUdpSocket socket{time};
    AdapterTable nics;
    DeviceSearch search{time, time, socket, nics};
    CommandChannel channel;
    DeviceCommandRun run{time, time, socket, nics, channel};
};
