#include "AdapterRefresh.h"

#include "common/AdapterTable.h"
#include "controls/Controls.h"
#include "platform/Services.h"

#include <QTabBar>

namespace {
constexpr std::size_t kNameWidth = 41;
constexpr std::size_t kAddressWidth = 15;
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

AdapterRefresh::AdapterRefresh(const Controls& c, AdapterTable& nics, Services& services, QObject* parent)
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
