#include "AdapterRefresh.h"

#include "common/AdapterTable.h"
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

AdapterRefresh::AdapterRefresh(QTabBar& TabNIC, AdapterTable& nics, Services& services,
                               std::function<void()> tabNicClick)
    : TabNIC_(TabNIC), nics_(nics), services_(services), tabNicClick_(std::move(tabNicClick))
{ }

int AdapterRefresh::readAdapters()
{
    const std::optional<std::vector<AdapterInfo>> adapters = services_.adapters.adapters();
    if (!adapters)
        return -1;
    int count = 0;
    for (const AdapterInfo& adapter : *adapters) {
        if (!AdapterQualifies(adapter))
            continue;
        ++count;
        if (count > TabNIC_.count())
            TabNIC_.addTab(QStringLiteral("NIC #%1").arg(count));
        nics_.store(count, ToNicRecord(adapter));
        tabNicClick_();
    }
    while (TabNIC_.count() > count)
        TabNIC_.removeTab(TabNIC_.count() - 1);
    return count;
}
