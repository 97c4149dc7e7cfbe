#include "SelectionHints.h"

#include "devices/DeviceReply.h"
#include "ServerList.h"

#include "common/AdapterTable.h"
#include "common/Latin1.h"

#include <QTabBar>

SelectionHints::SelectionHints(const WebserverControls& c, const AdapterTable& nics, const ServerList& servers)
    : c_(c), nics_(nics), servers_(servers)
{ }

QString SelectionHints::describe(const std::optional<DeviceSelection>& offered) const
{
    if (!offered)
        return {};
    std::vector<HeardDevice> listedNow;
    std::optional<HeardDevice> selected;
    const std::string& text = servers_.text();
    for (std::size_t i = 0; i < servers_.replyFirsts().size(); ++i) {
        const ReplySpan span = servers_.reply(i);
        const auto device = ReadDeviceReply(std::string_view(text).substr(span.first - 1, span.last - span.first + 1));
        if (!device || device->mac.empty())
            continue;
        listedNow.push_back({device->mac, device->address, servers_.heardOnInterface(i)});
        if (device->mac == offered->mac)
            selected = listedNow.back();
    }
    if (!selected)
        return {};
    const std::vector<NicRecord> nics = nics_.first(static_cast<std::size_t>(c_.TabNIC->count()));
    return AnsiBytesToText(DeviceHintText(offered->ip, FactsAbout(*selected, listedNow, nics)));
}
