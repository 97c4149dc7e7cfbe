#include "DeviceSearch.h"

#include "AdapterBroadcast.h"
#include "AddressList.h"
#include "Datagrams.h"

#include "common/AdapterTable.h"
#include "platform/Clock.h"
#include "platform/DottedQuad.h"
#include "platform/Timer.h"
#include "platform/TimerFactory.h"
#include "platform/UdpSocket.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTickMilliseconds = 1000;
// A tick this close to the deadline is the deadline's (a timer may fire a little early).
constexpr double kDeadlineSlack = 0.01;
// One turn of the reply intake ends after this long (the clock is read every few datagrams).
constexpr double kTurnSeconds = 0.008;
constexpr int kDatagramsPerClockReading = 8;
// ... or after this many datagrams, which bounds a turn also where the clock stands still.
constexpr int kTurnDatagrams = 4096;
// ... or once this much text waits for the list widget, whose insert costs 0.1 to 0.4
// microseconds a byte (measured on 2 shared cores).
constexpr std::size_t kTurnListBytes = 32 * 1024;
// A tick's unicasts leave in at most this many batches over the first half of the tick: 1,024
// addresses go out 41 at a time, 20 ms apart, and the replies to the last batch have the
// second half of the tick to come back before the search ends.
constexpr std::size_t kUnicastBatches = 25;
} // namespace

DeviceSearch::DeviceSearch(const Clock& clock, TimerFactory& timers, UdpSocket& socket, const AdapterTable& nics,
                           QObject* parent)
    : QObject(parent), clock_(clock), timer1_(timers.makeTimer()), socket_(socket), nics_(nics),
      nextTurn_(std::make_unique<QTimer>()), spread_(timers.makeTimer())
{
    spread_->setTickHandler([this] { sendUnicastBatch(); });
    nextTurn_->setSingleShot(true);
    nextTurn_->setInterval(0);
    connect(nextTurn_.get(), &QTimer::timeout, this, &DeviceSearch::ReplyIntake);
    timer1_->setTickHandler([this] { DiscoveryTick(); });
    socket_.setArrivalHandler([this] { ReplyIntake(); });
}

DeviceSearch::~DeviceSearch()
{
    // Nothing may arrive into a destroyed search: the socket outlives it.
    socket_.setArrivalHandler({});
}

void DeviceSearch::clear()
{
    count_ = 0;
    numbered_ = true;
    devices_.clear();
    listing_.setText("");
}

double DeviceSearch::elapsed() const { return clock_.elapsedSeconds() - startedAt_; }

void DeviceSearch::start(const SearchPlan& plan)
{
    plan_ = plan;
    startedAt_ = clock_.elapsedSeconds();
    deadline_ = startedAt_ + plan.seconds;
    // The adapters of this search decide which addresses the broadcast covers already.
    targets_ = AddressList::OffEveryAdapterSubnet(plan.unicastTargets, nics_.first(nics_.count()));
    setTickSeconds(plan.endAtDeadline ? std::min(1.0, plan.seconds) : kTickMilliseconds / 1000.0);
    timer1_->setEnabled(true);
    if (plan.requestAtStart)
        sendRequest();
}

void DeviceSearch::setTickSeconds(double seconds)
{
    tickSeconds_ = seconds;
    timer1_->setInterval(static_cast<int>(std::lround(1000 * seconds)));
}

void DeviceSearch::finish()
{
    timer1_->setEnabled(false);
    spread_->setEnabled(false);
}

bool DeviceSearch::ticking() const { return timer1_->isEnabled(); }

void DeviceSearch::DiscoveryTick()
{
    const double now = clock_.elapsedSeconds();
    if (plan_.endAtDeadline) {
        const double left = deadline_ - now;
        if (left <= kDeadlineSlack) {
            end();
            return;
        }
        setTickSeconds(std::min(1.0, left));
    } else if (now > deadline_) { // the tick at the deadline itself still sends
        end();
        return;
    }
    Q_EMIT ticked();
    sendRequest();
}

void DeviceSearch::sendRequest()
{
    if (requestsHeld_)
        return;
    if (BroadcastOutOfEveryAdapter(socket_, nics_, TavikDatagram::ListRequest()).failed())
        Q_EMIT requestFailed();
    startUnicastRound();
}

void DeviceSearch::startUnicastRound()
{
    // What a late timer left of the round before is dropped: each address is asked once a tick.
    spread_->setEnabled(false);
    nextTarget_ = 0;
    if (targets_.empty())
        return;
    const std::size_t batches = std::min(targets_.size(), kUnicastBatches);
    batchSize_ = (targets_.size() + batches - 1) / batches;
    sendUnicastBatch();
    if (nextTarget_ < targets_.size()) {
        const double gap = tickSeconds_ / 2 / static_cast<double>(batches);
        spread_->setInterval(std::max(1, static_cast<int>(1000 * gap)));
        spread_->setEnabled(true);
    }
}

void DeviceSearch::sendUnicastBatch()
{
    const std::size_t end = std::min(targets_.size(), nextTarget_ + batchSize_);
    // An address the system refuses (no route to it) is no error of the search: the broadcast
    // reports those.
    for (; nextTarget_ < end && socket_.isBound(); ++nextTarget_)
        socket_.send(TavikDatagram::ListRequest(), DottedQuadText(targets_[nextTarget_]), TavikDatagram::Port);
    if (nextTarget_ >= targets_.size() || !socket_.isBound())
        spread_->setEnabled(false);
}

void DeviceSearch::end()
{
    // At the deadline itself, what is still waiting was sent before it: it counts.
    if (plan_.endAtDeadline)
        ReplyIntake();
    finish();
    if (count_ == 0)
        listing_.setText("No find");
    Q_EMIT finished(count_);
}

void DeviceSearch::ReplyIntake()
{
    // A bounded turn: the timer, painting and the close button get the event loop back
    // after at most kTurnSeconds (or kTurnDatagrams where the clock stands still), and
    // what is left waits for the next turn. A view takes the whole batch at once.
    const double start = clock_.elapsedSeconds();
    const int listedBefore = count_;
    int handled = 0;
    std::size_t listedBytes = 0;
    bool turnUsedUp = false;
    while (std::optional<Datagram> datagram = socket_.take()) {
        listedBytes += listIfNew(*datagram);
        if (listedBytes >= kTurnListBytes) {
            turnUsedUp = true; // the widget's insert grows with the text it takes
            break;
        }
        if (++handled % kDatagramsPerClockReading == 0) {
            const double turn = clock_.elapsedSeconds() - start;
            turnUsedUp = handled >= kTurnDatagrams || turn >= kTurnSeconds;
            if (turnUsedUp)
                break;
        }
    }
    Q_EMIT turnEnded();
    if (count_ != listedBefore)
        Q_EMIT serversListed(count_);
    // The next turn comes through a timer, not a posted call, so that it takes its place
    // among the other timers instead of running before them.
    if (turnUsedUp && !nextTurn_->isActive())
        nextTurn_->start();
}

std::size_t DeviceSearch::listIfNew(const Datagram& datagram)
{
    const std::string& reply = datagram.bytes;
    if (!TavikDatagram::IsWebserverReply(reply))
        return 0;
    Q_EMIT replyRead(datagram);
    // An empty MAC counts as contained in any text, so such a reply is not listed.
    if (listing_.contains(TavikDatagram::ReplyMac(reply))) {
        if (plan_.keepDevices)
            noteHeard(datagram, false);
        return 0;
    }
    ++count_;
    const std::string heading = numbered_ && count_ <= kLastNumberedHeading
        ? "Webserver " + std::to_string(count_) + " found:\r\n"
        : std::string();
    if (count_ == 1)
        listing_.setText("");
    const std::string lead = "\r\n" + heading + "\r\n";
    listing_.appendEntry(lead, reply, datagram.interfaceIndex, datagram.senderAddress);
    if (plan_.keepDevices)
        noteHeard(datagram, true);
    return lead.size() + reply.size();
}

void DeviceSearch::noteHeard(const Datagram& datagram, bool listedNow)
{
    std::optional<DeviceReply> reply = ReadDeviceReply(datagram.bytes);
    if (!reply || reply->mac.empty())
        return;
    const double at = elapsed();
    if (!listedNow) {
        // The latest reply tells the device's settings now (after a command, say).
        const auto known = std::find_if(devices_.begin(), devices_.end(),
                                        [&](const FoundDevice& d) { return d.reply.mac == reply->mac; });
        if (known != devices_.end()) {
            known->reply = std::move(*reply);
            known->senderAddress = datagram.senderAddress;
            known->lastHeard = at;
        }
        return;
    }
    devices_.push_back({std::move(*reply), datagram.interfaceIndex, at, at, datagram.senderAddress});
}

std::string DeviceSearch::reachedAt(const std::string& sender) const
{
    // The targets lie on none of the adapters' networks: only the unicast reached a device there.
    if (targets_.empty())
        return {};
    const std::optional<std::uint32_t> address = ParseDottedQuad(sender);
    return address && std::binary_search(targets_.begin(), targets_.end(), *address) ? sender : std::string();
}
