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

    // Where it runs: behind the PC's adapters, or in the PC's own namespace beside the
    // program (it then listens on 255.255.255.255 and on each device address).
    enum class Side { Devices, Pc };

    // One "--device" line of keys per entry (see tavik-sim --help). False when the simulator
    // did not start listening; its output then goes to the test log.
    bool start(const QStringList& deviceLines, Side side = Side::Devices);
    // Ends it; its addresses leave the interfaces.
    void stop();
    // The record's lines: "seconds sender:port -> destination ifN bytes".
    QStringList received() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
};
