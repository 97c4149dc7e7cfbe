#include "SelectionHints.h"

#include "DeviceReply.h"
#include "ServerList.h"

#include "common/AdapterTable.h"
#include "common/FormState.h"
#include "common/Latin1.h"
#include "controls/Controls.h"
#include "platform/UdpSocket.h"

#include <QEvent>
#include <QPushButton>
#include <QTabBar>

SelectionHints::SelectionHints(const Controls& c, const FormState& state, const AdapterTable& nics,
                               const ServerList& servers, QObject* parent)
    : QObject(parent), c_(c), state_(state), nics_(nics), servers_(servers)
{
    // A selection is made or dropped where Reboot's enabled state changes; inside a busy
    // window that change is not announced, so the window's own return to input looks again.
    c_.cmdReboot->installEventFilter(this);
    c_.cmdReboot->window()->installEventFilter(this);
}

bool SelectionHints::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && (watched == c_.cmdReboot || watched == c_.cmdReboot->window()))
        update();
    return QObject::eventFilter(watched, event);
}

void SelectionHints::listed(const Datagram& reply)
{
    const auto device = ReadDeviceReply(reply.bytes);
    if (device)
        heard_[device->mac] = HeardDevice{device->mac, device->address, reply.interfaceIndex};
}

void SelectionHints::update()
{
    // Explicitly disabled, not merely inside a busy window: the selection is gone.
    const auto selected = heard_.find(state_.selectedMac);
    if (c_.cmdReboot->testAttribute(Qt::WA_ForceDisabled) || selected == heard_.end()) {
        show({});
        return;
    }
    // Only the devices still in the list count: an earlier search's entries are gone.
    std::vector<HeardDevice> listedNow;
    for (const auto& [mac, device] : heard_)
        if (!mac.empty() && servers_.contains(mac))
            listedNow.push_back(device);
    const std::vector<NicRecord> nics = nics_.first(static_cast<std::size_t>(c_.TabNIC->count()));
    show(DeviceHintText(state_.selectedIp, FactsAbout(selected->second, listedNow, nics)));
}

void SelectionHints::show(const std::string& text)
{
    const QString hint = AnsiBytesToText(text);
    for (QPushButton* button : {c_.cmdReboot, c_.cmdDefault, c_.cmdSetIP}) {
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
}
