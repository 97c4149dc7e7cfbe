#include "SelectionHints.h"

#include "devices/DeviceReply.h"
#include "ServerList.h"

#include "common/AdapterTable.h"
#include "common/Latin1.h"
#include "controls/Controls.h"
#include "platform/UdpSocket.h"

#include <QPushButton>
#include <QTabBar>

SelectionHints::SelectionHints(const Controls& c, const AdapterTable& nics, const ServerList& servers, QObject* parent)
    : QObject(parent), c_(c), nics_(nics), servers_(servers)
{ }

void SelectionHints::listed(const Datagram& reply)
{
    const auto device = ReadDeviceReply(reply.bytes);
    if (device)
        heard_[device->mac] = HeardDevice{device->mac, device->address, reply.interfaceIndex};
}

void SelectionHints::update(const std::optional<DeviceSelection>& offered)
{
    const auto selected = offered ? heard_.find(offered->mac) : heard_.end();
    if (selected == heard_.end()) {
        show({});
        return;
    }
    // Only the devices still in the list count: an earlier search's entries are gone.
    std::vector<HeardDevice> listedNow;
    for (const auto& [mac, device] : heard_)
        if (!mac.empty() && servers_.contains(mac))
            listedNow.push_back(device);
    const std::vector<NicRecord> nics = nics_.first(static_cast<std::size_t>(c_.TabNIC->count()));
    show(DeviceHintText(offered->ip, FactsAbout(selected->second, listedNow, nics)));
}

void SelectionHints::show(const std::string& text)
{
    const QString hint = AnsiBytesToText(text);
    for (QPushButton* button : {c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP}) {
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
}
