#include "AdapterRefresh.h"

#include "common/AdapterTable.h"
#include "devices/NicRecords.h"
#include "platform/Services.h"

#include <QTabBar>

AdapterRefresh::AdapterRefresh(const NetviewControls& c, AdapterTable& nics, Services& services, QObject* parent)
    : QObject(parent), c_(c), nics_(nics), services_(services)
{ }

int AdapterRefresh::readAdapters()
{
    const std::optional<std::vector<AdapterInfo>> adapters = services_.adapters.adapters();
    if (!adapters)
        return -1;
    QTabBar& TabNIC = *c_.TabNIC;
    int count = 0;
    for (const AdapterInfo& adapter : *adapters) {
        if (!AdapterQualifies(adapter))
            continue;
        ++count;
        if (count > TabNIC.count())
            TabNIC.addTab(QStringLiteral("NIC #%1").arg(count));
        nics_.store(count, ToNicRecord(adapter));
        Q_EMIT adapterStored();
    }
    nics_.setCount(static_cast<std::size_t>(count));
    while (TabNIC.count() > count)
        TabNIC.removeTab(TabNIC.count() - 1);
    return count;
}
