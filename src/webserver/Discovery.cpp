#include "Discovery.h"

#include "ServerList.h"

#include "devices/AdapterBroadcast.h"
#include "devices/Datagrams.h"
#include "devices/DeviceSearch.h"
#include "devices/SearchAddresses.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/UdpSocket.h"

#include <QColor>
#include <QPointer>
#include <QString>

Discovery::Discovery(Services& services, DeviceSearch& search, ServerList& servers, SearchAddresses& addresses,
                     QObject* parent)
    : QObject(parent), services_(services), search_(search), servers_(servers), addresses_(addresses)
{
    connect(&search_, &DeviceSearch::replyRead, this, [this](const Datagram& reply) { addresses_.replyRead(reply); });
    connect(&search_, &DeviceSearch::ticked, this, [this] {
        status_.extend(QStringLiteral("..."));
        Q_EMIT changed();
    });
    connect(&search_, &DeviceSearch::requestFailed, this, &Discovery::showNetworkError);
    connect(&search_, &DeviceSearch::turnEnded, this, [this] { servers_.showPending(); });
    connect(&search_, &DeviceSearch::finished, this, &Discovery::searchFinished);
}

void Discovery::beginRefresh()
{
    status_.start(); // first: what follows is the new search's own
    searching_ = true;
    Q_EMIT refreshBegun();
    status_.setColour(Qt::black);
    status_.show(QStringLiteral("Searching..."));
    Q_EMIT changed();
    search_.clear();
    addresses_.searchBegun();
    servers_.showPending();
    // The port may have been taken by another program at start; try again each time.
    EnsureBound(services_.socket);
}

void Discovery::searchAdapters(int adapterCount)
{
    const bool canSearch = services_.socket.isBound();
    if (adapterCount >= 1 && canSearch) {
        search_.start({.unicastTargets = addresses_.takeNextTargets()});
        return; // the search's end leaves the busy state
    }
    // Joining the gateway needs no UDP search: without one (port taken, no adapter with
    // an address, as on a laptop about to join the gateway's Wi-Fi) it is offered at once.
    endSearch();
    if (canSearch) {
        status_.show(QString());
    } else {
        status_.setColour(QColor(255, 0, 0));
        status_.show(
            QString::fromLatin1(TavikDatagram::PortInUseText.data(), qsizetype(TavikDatagram::PortInUseText.size())));
    }
    Q_EMIT changed();
}

void Discovery::endSearch()
{
    status_.end();
    searching_ = false;
    searchedOnce_ = true;
    Q_EMIT searchEnded();
}

void Discovery::showNetworkError()
{
    // The box leaves the event loop running, so the timer goes on ticking while it is
    // open and the search still ends at its deadline, sending nothing meanwhile.
    search_.holdRequests(true);
    services_.messages.show("Network error!", [self = QPointer(this)] {
        if (self)
            self->search_.holdRequests(false);
    });
}

void Discovery::describeAddresses()
{
    QString tip;
    if (!addresses_.addresses().empty())
        tip = QStringLiteral("Also searched by address: %1\n%2 device(s) answered from them in the last search.")
                  .arg(addresses_.storedText())
                  .arg(addresses_.answered());
    else if (!addresses_.storedReads())
        tip = QStringLiteral("The stored search addresses cannot be read: see \"Search addresses...\".");
    servers_.setToolTip(tip);
}

void Discovery::searchFinished(int found)
{
    describeAddresses();
    if (found == 0) {
        status_.show(QString());
        servers_.showPending(); // "No find"
    } else if (found == 1) {
        Q_EMIT loneServerFound();
    }
    endSearch();
    if (found > 0)
        status_.show(QStringLiteral("Please select webserver to reboot or to set IP."));
    Q_EMIT changed();
}
