#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// tavik-sim on the device side of the simulated LAN, for one test: it puts its device
// addresses on the device-side interfaces and records every datagram it receives.
class SimulatorProcess final {
public:
    SimulatorProcess() = default;
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // One "--device" line of keys per entry (see tavik-sim --help). False when the simulator
    // did not start listening; its output then goes to the test log.
    bool start(const QStringList& deviceLines);
    // Ends it; its addresses leave the interfaces.
    void stop();
    // The record's lines: "seconds sender:port -> destination ifN bytes".
    QStringList received() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
};
