#pragma once

#include "CommandOutcome.h"
#include "CommandRequest.h"

#include "platform/StepWait.h"

#include <QObject>

#include <optional>

class AdapterTable;
class Clock;
class CommandChannel;
class TimerFactory;
class UdpSocket;
struct Datagram;

// One command to one device, as a step machine on the event loop, for both front ends:
//  - Reboot and Load defaults go to the device's address at once;
//  - SetIP and SetDHCP go out of every adapter once a second until the device shows the
//    values sent or three seconds are up;
//  - with a reboot wait (the window's), twelve seconds follow a command the device took;
//  - then the front end searches, and `conclude` turns what it found into the outcome.
// Every run is announced to and concluded on the program's command channel.
class DeviceCommandRun final : public QObject {
    Q_OBJECT
public:
    DeviceCommandRun(const Clock& clock, TimerFactory& timers, UdpSocket& socket, const AdapterTable& nics,
                     CommandChannel& channel, QObject* parent = nullptr);

    void start(const CommandRequest& request, bool rebootWait);
    // Every webserver reply read while the setup copies go out: the device's own showing the
    // values sent is its confirmation.
    void replyRead(const Datagram& reply);
    // A refused send has been reported to the user: the command goes on without it.
    void resume();
    // The search after the command found the device as `seen`, or not at all; `stayedUp`: it
    // answered at once after a command that reboots it, so the command never arrived. Also
    // ends a run whose send was refused. A run that awaits no outcome is left alone.
    void conclude(const std::optional<DeviceReply>& seen, bool stayedUp = false);
    // The program stops first: the run ends as cancelled, without its search.
    void cancel();

    // From start() to the end of sending and waiting.
    bool running() const { return phase_ != Phase::Idle && phase_ != Phase::Checking; }
    // Until conclude() or cancel().
    bool awaitingOutcome() const { return phase_ != Phase::Idle; }
    bool confirmed() const { return confirmed_; }
    const CommandRequest& request() const { return request_; }

Q_SIGNALS:
    // The run begins, before its first send.
    void started();
    // A send left through no adapter; the run waits for resume() or cancel().
    void sendRefused();
    // The device took the command and goes quiet for the reboot wait.
    void waitStarted();
    // Each second of that wait.
    void waitTicked();
    // Sending and waiting are over: the front end's search may look for the device.
    void readyToCheck();
    void concluded(CommandOutcome outcome);

private:
    enum class Phase { Idle, Sending, Refused, Waiting, Checking };

    void sendNextCopy();
    void sendingEnded();
    void end(CommandOutcome outcome);

    const Clock& clock_;
    UdpSocket& socket_;
    const AdapterTable& nics_;
    CommandChannel& channel_;
    StepWait wait_;
    CommandRequest request_;
    Phase phase_ = Phase::Idle;
    bool rebootWait_ = true;
    bool confirmed_ = false;
    double sendDeadline_ = 0.0;
    int id_ = 0;
};
