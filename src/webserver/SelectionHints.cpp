#include "SelectionHints.h"

#include "DeviceReply.h"
#include "ServerList.h"

#include "common/AdapterTable.h"
#include "common/FormState.h"
#include "platform/UdpSocket.h"

#include <QPushButton>
#include <QTabBar>

SelectionHints::SelectionHints(const std::array<QPushButton*, 3>& buttons, const FormState& state,
                               const AdapterTable& nics, const ServerList& servers, const QTabBar& tabs)
    : buttons_(buttons), state_(state), nics_(nics), servers_(servers), tabs_(tabs)
{ }

void SelectionHints::listed(const Datagram& reply)
{
    const auto device = ReadDeviceReply(reply.bytes);
    if (device)
        heard_[device->mac] = HeardDevice{device->mac, device->address, reply.interfaceIndex};
}

void SelectionHints::update()
{
    // Explicitly disabled, not merely inside a busy window: the selection is gone.
    QPushButton* reboot = buttons_[0];
    const auto selected = heard_.find(state_.selectedMac);
    if (reboot->testAttribute(Qt::WA_ForceDisabled) || selected == heard_.end()) {
        show({});
        return;
    }
    // Only the devices still in the list count: an earlier search's entries are gone.
    std::vector<HeardDevice> listedNow;
    for (const auto& [mac, device] : heard_)
        if (!mac.empty() && servers_.contains(mac))
            listedNow.push_back(device);
    const std::vector<NicRecord> nics = nics_.first(static_cast<std::size_t>(tabs_.count()));
    show(DeviceHintText(state_.selectedIp, FactsAbout(selected->second, listedNow, nics)));
}

void SelectionHints::show(const std::string& text)
{
    const QString hint = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    for (QPushButton* button : buttons_) {
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
}
