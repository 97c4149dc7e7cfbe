#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// tavik-sim on the device side of the simulated LAN, for one test: it puts its device
// addresses on the device-side interfaces and records every datagram it receives.
class SimulatorProcess final {
public:
    ~SimulatorProcess() { stop(); }

    // One "--device" line of keys per entry, in the namespace of the holder the variable names
    // (SIMLAN_ROUTED_PID: the routed segment); false when it did not start listening.
    bool start(const QStringList& deviceLines, const char* namespaceVariable = "SIMLAN_DEVICE_PID");
    void stop(); // its addresses leave the interfaces
    // The record's lines: "seconds sender:port -> destination ifN bytes".
    QStringList received() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
};
