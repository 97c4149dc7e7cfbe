#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class AdapterTable;
class QColor;
class QTimer;
class Search;
class ServerList;
struct Controls;
struct Datagram;
struct Services;

// The search for webservers: Timer1's tick broadcasts the list request out of every
// adapter while the search runs and closes the search when its time is up; the
// socket's arrival handler lists every reply with an unseen MAC address.
class Discovery final : public QObject {
    Q_OBJECT
public:
    Discovery(const Controls& c, const AdapterTable& nics, Services& services, Search& search, ServerList& servers,
              QObject* parent = nullptr);
    ~Discovery() override;

    // A refresh begins: the window is busy, the list is cleared, and the port is bound again
    // if it was lost.
    void beginRefresh();
    // The refresh has read the adapters (-1: they could not be listed): the search runs on
    // them, or without an adapter or port the window is usable at once.
    void searchAdapters(int adapterCount);

    void DiscoveryTick();
    void ReplyIntake();

Q_SIGNALS:
    void busyStarted();
    void busyEnded();
    // From the refresh's start to the search's end, also when no search could run.
    void searchBegun();
    void searchEnded();
    // A turn of the reply intake listed at least one webserver not listed before; this many are
    // listed since the refresh. A turn that listed nothing (another PC's list request, a repeat
    // of a listed device, a stray datagram) reports nothing: it changes no selection.
    void serversListed(int listedCount);
    void statusShown(const QString& text);
    // The status line grows by a row of dots each tick.
    void statusExtended(const QString& more);
    void statusColoured(const QColor& colour);
    // The search ended with exactly one webserver listed: it is selected without a click.
    void loneServerFound();
    // A reply has just been listed, with the adapter it arrived on.
    void listed(const Datagram& reply);
    // Every webserver reply read, also one whose MAC is listed already: a device answering a
    // command shows its new settings under the MAC it was listed with.
    void replyRead(const Datagram& reply);

private:
    void sendStep();
    void finishStep();
    void showNetworkError();
    // Lists the reply when its MAC is new; the number of bytes it added to the list.
    std::size_t listIfNew(const Datagram& datagram);

    const Controls& c_;
    const AdapterTable& nics_;
    Services& services_;
    Search& search_;
    ServerList& servers_;
    bool errorBoxOpen_ = false;
    std::unique_ptr<QTimer> nextTurn_; // the rest of a backlog, after the other timers
};
