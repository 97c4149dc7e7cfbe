#pragma once

#include "DeviceReply.h"
#include "ListingText.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AdapterTable;
class Clock;
class QTimer;
class Timer;
class TimerFactory;
class UdpSocket;
struct Datagram;

// The 99th and later webservers of a search are listed without a numbered heading.
inline constexpr int kLastNumberedHeading = 98;

// One device as a search heard it: its latest reply, the adapter its first reply arrived on.
struct FoundDevice {
    DeviceReply reply;
    int interfaceIndex = -1;
    double firstHeard = 0.0; // seconds after the search began
    double lastHeard = 0.0;
    std::string senderAddress{}; // where its latest reply came from (dotted)
};

// How one search runs. The window's: three seconds, a list request at each of the tick's
// seconds, the end at the first tick past the deadline. The command line's: the request at
// once and every second after, the end at the deadline itself.
struct SearchPlan {
    double seconds = 3.0;
    bool requestAtStart = false;
    bool endAtDeadline = false;
    // Whether the search also keeps the devices as values (the command line reads them; the
    // window reads its list, and its intake stays as cheap as the listing).
    bool keepDevices = false;
    // Addresses beyond the broadcast's reach (host order): each one on none of the adapters'
    // networks gets the list request by unicast at every tick that sends it.
    std::vector<std::uint32_t> unicastTargets{};
};

// The search for webservers, for the window and the command line alike: the tick sends the
// list request out of every adapter while the search's time lasts and ends it after; the
// intake reads the replies in bounded turns and lists each one whose MAC is not listed yet,
// under its heading. It owns what was listed (the listing text, the count, the devices as
// values) from the refresh that clears it to the next. Unicasts to the plan's addresses are
// spread over the first half of each tick, so that a thousand of them leave in small batches
// and the replies to the last ones arrive before the search ends.
class DeviceSearch final : public QObject {
    Q_OBJECT
public:
    // `timers` makes the search's tick (the window's Timer1) and the timer that spreads the unicasts.
    DeviceSearch(const Clock& clock, TimerFactory& timers, UdpSocket& socket, const AdapterTable& nics,
                 QObject* parent = nullptr);
    ~DeviceSearch() override;

    // A refresh begins: nothing is listed, headings are numbered again, the text is empty.
    void clear();
    void start(const SearchPlan& plan = {});
    // Stops the ticks and the unicasts; what was listed stays until the next clear().
    void finish();
    // Until the next clear(), webservers are listed without a numbered heading.
    void listWithoutHeadings() { numbered_ = false; }
    // While held, the ticks keep the search's time but send nothing (an error is shown).
    void holdRequests(bool held) { requestsHeld_ = held; }

    // The ticks run: a search runs or is about to end.
    bool ticking() const;
    int count() const { return count_; }
    const ListingText& listing() const { return listing_; }
    // Messages in the list's place (a command's progress) are written here too, so that what
    // the list shows has one owner.
    ListingText& listing() { return listing_; }
    // With SearchPlan::keepDevices, the listed devices whose replies read as devices, in the
    // order listed, each with its latest reply.
    const std::vector<FoundDevice>& devices() const { return devices_; }
    // The plan's addresses that this search sends to: those on none of the adapters' networks.
    const std::vector<std::uint32_t>& unicastTargets() const { return targets_; }
    // The sender when it is one of this search's unicast targets (a device reached by address,
    // as those lie on none of the adapters' networks); empty otherwise.
    std::string reachedAt(const std::string& sender) const;

    void DiscoveryTick();
    void ReplyIntake();

Q_SIGNALS:
    // A tick within the search's time, before its request goes out.
    void ticked();
    // The list request left through no adapter.
    void requestFailed();
    // The search's time is up; `listedCount` webservers were listed.
    void finished(int listedCount);
    // Every webserver reply read, also one whose MAC is listed already.
    void replyRead(const Datagram& reply);
    // A turn of the intake listed at least one webserver not listed before; this many are
    // listed since the refresh. A turn that listed nothing reports nothing.
    void serversListed(int listedCount);
    // A turn of the intake ended: what it added to the listing may be shown.
    void turnEnded();

private:
    void sendRequest();
    void startUnicastRound();
    void sendUnicastBatch();
    void setTickSeconds(double seconds);
    void end();
    double elapsed() const;
    // Lists the reply when its MAC is new; the number of bytes it added to the listing.
    std::size_t listIfNew(const Datagram& datagram);
    void noteHeard(const Datagram& datagram, bool listedNow);

    const Clock& clock_;
    std::unique_ptr<Timer> timer1_; // the tick
    UdpSocket& socket_;
    const AdapterTable& nics_;
    ListingText listing_;
    std::vector<FoundDevice> devices_;
    SearchPlan plan_;
    double startedAt_ = 0.0;
    double deadline_ = 0.0;
    int count_ = 0;
    bool numbered_ = true; // a command's wait lists what answers without headings
    bool requestsHeld_ = false;
    std::unique_ptr<QTimer> nextTurn_; // the rest of a backlog, after the other timers
    double tickSeconds_ = 1.0;
    std::vector<std::uint32_t> targets_;
    std::unique_ptr<Timer> spread_; // the next batch of unicasts
    std::size_t nextTarget_ = 0;
    std::size_t batchSize_ = 0;
};
