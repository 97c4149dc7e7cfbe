#include "AdapterRefresh.h"

#include "common/BusyState.h"
#include "common/FormState.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/Timer.h"
#include "platform/UdpSocket.h"
#include "webserver/AdapterBroadcast.h"
#include "webserver/ServerList.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTabBar>

namespace {
constexpr std::size_t kNameWidth = 41;
constexpr std::size_t kAddressWidth = 15;
constexpr double kSearchSeconds = 3.0;
constexpr int kTickMilliseconds = 1000;
const char* const kPortInUse = "UDP port 8080 is in use by another program. Webservers cannot be searched.";

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
} // namespace

std::string FieldWindow(std::string_view raw, std::size_t width)
{
    std::string text;
    for (char c : raw.substr(0, width))
        if (static_cast<unsigned char>(c) >= 32)
            text += c;
    return text;
}

bool AdapterQualifies(const AdapterInfo& adapter)
{
    return adapter.ipAddress.empty() || adapter.ipAddress.front() != '0';
}

NicRecord ToNicRecord(const AdapterInfo& adapter)
{
    return {FieldWindow(adapter.description, kNameWidth), FieldWindow(adapter.ipAddress, kAddressWidth),
            FieldWindow(adapter.ipMask, kAddressWidth), FieldWindow(adapter.gateway, kAddressWidth),
            adapter.interfaceIndex};
}

AdapterRefresh::AdapterRefresh(const RefreshWidgets& widgets, FormState& state, Services& services,
                               ServerList& servers, BusyState& busy, std::function<void()> tabNicClick)
    : w_(widgets), state_(state), services_(services), servers_(servers), busy_(busy),
      tabNicClick_(std::move(tabNicClick))
{
}

void AdapterRefresh::picRefresh_Click()
{
    setTextColour(w_.labStatus, Qt::black);
    w_.cmdWiFiConnect->setStyleSheet(QString()); // back to the standard button colour
    w_.cmdWiFiConnect->setPalette(QPalette());
    w_.window->show();
    busy_.enterBusy();
    w_.labStatus->setText(QStringLiteral("Searching..."));
    servers_.setText("");
    w_.picRefresh->setEnabled(false);
    w_.cmdReboot->setEnabled(false);
    w_.cmdDefault->setEnabled(false);
    w_.cmdSetIP->setEnabled(false);
    state_.serverCount = 0;
    // The port may have been taken by another program at start; try again each time.
    EnsureBound(services_.socket);
    services_.socket.enableBroadcast();
    finish(readAdapters());
}

int AdapterRefresh::readAdapters()
{
    const std::optional<std::vector<AdapterInfo>> adapters = services_.adapters.adapters();
    if (!adapters)
        return -1; // tabs and tables stay as they were
    int count = 0;
    for (const AdapterInfo& adapter : *adapters) {
        if (!AdapterQualifies(adapter))
            continue;
        ++count;
        if (count > w_.TabNIC->count())
            w_.TabNIC->addTab(QStringLiteral("NIC #%1").arg(count));
        if (static_cast<int>(state_.nics.size()) < count)
            state_.nics.resize(count);
        state_.nics[count - 1] = ToNicRecord(adapter);
        tabNicClick_();
    }
    while (w_.TabNIC->count() > count)
        w_.TabNIC->removeTab(w_.TabNIC->count() - 1);
    return count;
}

void AdapterRefresh::finish(int adapterCount)
{
    const bool canSearch = services_.socket.isBound();
    if (adapterCount >= 1 && canSearch) {
        state_.searchDeadline = services_.clock.secondsSinceMidnight() + kSearchSeconds;
        services_.timer1.setInterval(kTickMilliseconds);
        services_.timer1.setEnabled(true);
        return; // the search's end leaves the busy state
    }
    busy_.leaveBusy();
    w_.picRefresh->setEnabled(true);
    // Joining the gateway needs no UDP search: without one (port taken, no adapter with
    // an address, as on a laptop about to join the gateway's Wi-Fi) it is offered at once.
    w_.fraMurel->setEnabled(true);
    w_.cmdWiFiConnect->setEnabled(true);
    if (canSearch) {
        w_.labStatus->setText(QString());
    } else {
        setTextColour(w_.labStatus, QColor(255, 0, 0));
        w_.labStatus->setText(QString::fromLatin1(kPortInUse));
    }
}
