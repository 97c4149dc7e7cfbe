#include "Discovery.h"

#include "devices/AdapterBroadcast.h"
#include "devices/Datagrams.h"
#include "Search.h"
#include "ServerList.h"

#include "controls/Controls.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/Timer.h"
#include "platform/UdpSocket.h"

#include <QColor>
#include <QString>
#include <QPointer>
#include <QTimer>

#include <string>

namespace {
// One turn of the reply intake ends after this long (the clock is read every few datagrams).
constexpr double kTurnSeconds = 0.008;
constexpr int kDatagramsPerClockReading = 8;
// ... or after this many datagrams, which bounds a turn also where the clock stands still.
constexpr int kTurnDatagrams = 4096;
// ... or once this much text waits for the list widget, whose insert costs 0.1 to 0.4
// microseconds a byte (measured on 2 shared cores).
constexpr std::size_t kTurnListBytes = 32 * 1024;
} // namespace

Discovery::Discovery(const Controls& c, const AdapterTable& nics, Services& services, Search& search,
                     ServerList& servers, QObject* parent)
    : QObject(parent), c_(c), nics_(nics), services_(services), search_(search), servers_(servers),
      nextTurn_(std::make_unique<QTimer>())
{
    nextTurn_->setSingleShot(true);
    nextTurn_->setInterval(0);
    connect(nextTurn_.get(), &QTimer::timeout, this, &Discovery::ReplyIntake);
    connect(&search_, &Search::ticked, this, &Discovery::DiscoveryTick);
    services_.socket.setArrivalHandler([this] { ReplyIntake(); });
}

Discovery::~Discovery()
{
    // No arrival may reach a destroyed intake.
    services_.socket.setArrivalHandler({});
}

void Discovery::beginRefresh()
{
    Q_EMIT searchBegun(); // first: what follows is the new search's own
    Q_EMIT statusColoured(Qt::black);
    Q_EMIT busyStarted();
    Q_EMIT statusShown(QStringLiteral("Searching..."));
    servers_.setText("");
    search_.clear();
    // The port may have been taken by another program at start; try again each time.
    EnsureBound(services_.socket);
}

void Discovery::searchAdapters(int adapterCount)
{
    const bool canSearch = services_.socket.isBound();
    if (adapterCount >= 1 && canSearch) {
        search_.start();
        return; // the search's end leaves the busy state
    }
    // Joining the gateway needs no UDP search: without one (port taken, no adapter with
    // an address, as on a laptop about to join the gateway's Wi-Fi) it is offered at once.
    Q_EMIT searchEnded();
    Q_EMIT busyEnded();
    if (canSearch) {
        Q_EMIT statusShown(QString());
    } else {
        Q_EMIT statusColoured(QColor(255, 0, 0));
        Q_EMIT statusShown(
            QString::fromLatin1(TavikDatagram::PortInUseText.data(), qsizetype(TavikDatagram::PortInUseText.size())));
    }
}

void Discovery::DiscoveryTick()
{
    if (search_.timeLeft())
        sendStep();
    else
        finishStep();
}

void Discovery::sendStep()
{
    Q_EMIT statusExtended(QStringLiteral("..."));
    // While a "Network error!" box is open, the search keeps its time but sends nothing.
    if (errorBoxOpen_)
        return;

    if (BroadcastOutOfEveryAdapter(services_.socket, nics_, TavikDatagram::ListRequest()).failed())
        showNetworkError();
}

void Discovery::showNetworkError()
{
    // The box leaves the event loop running, so the timer goes on ticking while it is
    // open and the search still ends at its deadline.
    errorBoxOpen_ = true;
    services_.messages.show("Network error!", [self = QPointer(this)] {
        if (self)
            self->errorBoxOpen_ = false;
    });
}

void Discovery::finishStep()
{
    const int found = search_.count();
    if (found == 0) {
        Q_EMIT statusShown(QString());
        servers_.setText("No find");
    } else if (found == 1) {
        Q_EMIT loneServerFound();
    }
    search_.finish();
    Q_EMIT searchEnded();
    Q_EMIT busyEnded();
    if (found > 0)
        Q_EMIT statusShown(QStringLiteral("Please select webserver to reboot or to set IP."));
}

void Discovery::ReplyIntake()
{
    // A bounded turn: the timer, painting and the close button get the event loop back
    // after at most kTurnSeconds (or kTurnDatagrams where the clock stands still), and
    // what is left waits for the next turn. The widget takes the whole batch at once.
    const double start = services_.clock.elapsedSeconds();
    const int listedBefore = search_.count();
    int handled = 0;
    std::size_t listedBytes = 0;
    bool turnUsedUp = false;
    while (std::optional<Datagram> datagram = services_.socket.take()) {
        listedBytes += listIfNew(*datagram);
        if (listedBytes >= kTurnListBytes) {
            turnUsedUp = true; // the widget's insert grows with the text it takes
            break;
        }
        if (++handled % kDatagramsPerClockReading == 0) {
            const double elapsed = services_.clock.elapsedSeconds() - start;
            turnUsedUp = handled >= kTurnDatagrams || elapsed >= kTurnSeconds;
            if (turnUsedUp)
                break;
        }
    }
    servers_.showPending();
    if (search_.count() != listedBefore)
        Q_EMIT serversListed(search_.count());
    // The next turn comes through a timer, not a posted call, so that it takes its place
    // among the other timers instead of running before them.
    if (turnUsedUp && !nextTurn_->isActive())
        nextTurn_->start();
}

std::size_t Discovery::listIfNew(const Datagram& datagram)
{
    const std::string& reply = datagram.bytes;
    if (!TavikDatagram::IsWebserverReply(reply))
        return 0;
    Q_EMIT replyRead(datagram);
    // An empty MAC counts as contained in any text, so such a reply is not listed.
    if (servers_.contains(TavikDatagram::ReplyMac(reply)))
        return 0;
    const std::string heading = search_.countListed();
    if (search_.count() == 1)
        servers_.setText("");
    const std::string lead = "\r\n" + heading + "\r\n";
    servers_.appendEntry(lead, reply, datagram.interfaceIndex);
    Q_EMIT listed(datagram);
    return lead.size() + reply.size();
}
