#pragma once

#include "controls/StatusShare.h"

#include <QObject>
#include <QString>

class DeviceSearch;
class SearchAddresses;
class ServerList;
struct Services;

// The window's side of the search for webservers: the refresh that starts it, the status
// line while it runs (a row of dots a tick), "Network error!" when a request leaves through
// no adapter, the list shown as the search fills it, and what the search's end offers; each
// search also asks the stored addresses beyond the broadcast's reach by unicast. The
// search itself (Timer1's ticks, the intake, what is listed) is the engine's DeviceSearch.
class Discovery final : public QObject {
    Q_OBJECT
public:
    Discovery(Services& services, DeviceSearch& search, ServerList& servers, SearchAddresses& addresses,
              QObject* parent = nullptr);

    // A refresh begins: the window is busy, the list is cleared, and the port is bound again
    // if it was lost.
    void beginRefresh();
    // The refresh has read the adapters (-1: they could not be listed): the search runs on
    // them, or without an adapter or port the window is usable at once.
    void searchAdapters(int adapterCount);
    // The list's tooltip names the stored addresses and how many answered from them.
    void describeAddresses();

    // From the refresh's start to the search's end, also when no search could run: the
    // window is busy meanwhile.
    bool searching() const { return searching_; }
    // The first search has ended or could not run.
    bool searchedOnce() const { return searchedOnce_; }
    // The search's part of the status line: its texts, with a row of dots a tick.
    const StatusShare& status() const { return status_; }

Q_SIGNALS:
    void changed();
    // A refresh begins: what the last selection offered is withdrawn.
    void refreshBegun();
    void searchEnded();
    // The search ended with exactly one webserver listed: it is selected without a click.
    void loneServerFound();

private:
    void showNetworkError();
    void searchFinished(int found);
    void endSearch();

    bool searching_ = false;
    bool searchedOnce_ = false;
    StatusShare status_;

    Services& services_;
    DeviceSearch& search_;
    ServerList& servers_;
    SearchAddresses& addresses_;
};
