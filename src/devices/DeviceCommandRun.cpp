#include "DeviceCommandRun.h"

#include "AdapterBroadcast.h"
#include "CommandChannel.h"
#include "Datagrams.h"

#include "platform/Clock.h"
#include "platform/UdpSocket.h"

namespace {
constexpr double kSendPhaseSeconds = 3.0;
constexpr double kCopyIntervalSeconds = 1.0;

bool IsSetup(CommandKind kind) { return kind == CommandKind::SetIP || kind == CommandKind::SetDHCP; }
} // namespace

DeviceCommandRun::DeviceCommandRun(const Clock& clock, TimerFactory& timers, UdpSocket& socket,
                                   const AdapterTable& nics, CommandChannel& channel, QObject* parent)
    : QObject(parent), clock_(clock), socket_(socket), nics_(nics), channel_(channel), wait_(clock, timers)
{ }

void DeviceCommandRun::start(const CommandRequest& request, bool rebootWait)
{
    request_ = request;
    rebootWait_ = rebootWait;
    confirmed_ = false;
    phase_ = Phase::Sending;
    id_ = channel_.announce(request_);
    Q_EMIT started();
    if (IsSetup(request_.kind)) {
        sendDeadline_ = clock_.elapsedSeconds() + kSendPhaseSeconds;
        sendNextCopy();
        return;
    }
    if (SendToDevice(socket_, request_.datagram, request_.copies, request_.address, request_.interfaceIndex)) {
        sendingEnded();
        return;
    }
    phase_ = Phase::Refused;
    Q_EMIT sendRefused();
}

void DeviceCommandRun::sendNextCopy()
{
    if (clock_.elapsedSeconds() >= sendDeadline_ || confirmed_) {
        sendingEnded();
        return;
    }
    // Every adapter gets its copy, as the list request does: the device may sit on any of them.
    const bool broadcastLeft = !BroadcastOutOfEveryAdapter(socket_, nics_, request_.datagram).failed();
    const bool unicastLeft = !request_.alsoUnicastTo.empty()
        && SendToDevice(socket_, request_.datagram, 1, request_.alsoUnicastTo, request_.interfaceIndex);
    if (!broadcastLeft && !unicastLeft) {
        phase_ = Phase::Refused;
        Q_EMIT sendRefused();
        return;
    }
    wait_.start(kCopyIntervalSeconds, [this] { sendNextCopy(); });
}

void DeviceCommandRun::replyRead(const Datagram& reply)
{
    // A new device that happens to answer, or this one answering another PC's list request
    // with its old settings, tells nothing of whether the settings arrived.
    if (phase_ != Phase::Sending || !IsSetup(request_.kind) || confirmed_)
        return;
    const std::optional<DeviceReply> device = ReadDeviceReply(reply.bytes);
    confirmed_ = device && SameMac(device->mac, request_.mac) && Matches(*device, request_.expected);
}

void DeviceCommandRun::resume()
{
    if (phase_ == Phase::Refused)
        sendingEnded();
}

void DeviceCommandRun::sendingEnded()
{
    // A setup the device did not confirm leaves it as it was: nothing to wait for.
    const bool deviceGoesQuiet = !IsSetup(request_.kind) || confirmed_;
    if (!rebootWait_ || !deviceGoesQuiet) {
        phase_ = Phase::Checking;
        Q_EMIT readyToCheck();
        return;
    }
    phase_ = Phase::Waiting;
    Q_EMIT waitStarted();
    wait_.start(
        TavikDatagram::RebootSeconds,
        [this] {
            phase_ = Phase::Checking;
            Q_EMIT readyToCheck();
        },
        [this] { Q_EMIT waitTicked(); });
}

void DeviceCommandRun::conclude(const std::optional<DeviceReply>& seen, bool stayedUp)
{
    if (phase_ != Phase::Checking && phase_ != Phase::Refused)
        return;
    wait_.cancel();
    end(stayedUp ? CommandOutcome::SeenWithOtherValues : OutcomeAfterSearch(confirmed_, request_.expected, seen));
}

void DeviceCommandRun::cancel()
{
    if (phase_ == Phase::Idle)
        return;
    wait_.cancel();
    end(CommandOutcome::Cancelled);
}

void DeviceCommandRun::end(CommandOutcome outcome)
{
    phase_ = Phase::Idle;
    channel_.conclude(id_, outcome);
    Q_EMIT concluded(outcome);
}
