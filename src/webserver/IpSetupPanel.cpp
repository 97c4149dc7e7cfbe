#include "IpSetupPanel.h"

#include "devices/AdapterBroadcast.h"
#include "devices/Datagrams.h"
#include "devices/DeviceReply.h"
#include "ServerList.h"
#include "devices/SetupDatagrams.h"

#include "common/Latin1.h"
#include "controls/Controls.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/UdpSocket.h"
#include "platform/Services.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {
constexpr double kSendPhaseSeconds = 3.0;
constexpr double kCopyIntervalSeconds = 1.0;
} // namespace

IpSetupPanel::IpSetupPanel(const Controls& c, const AdapterTable& nics, Services& services, ServerList& servers,
                           QObject* parent)
    : QObject(parent), c_(c), nics_(nics), services_(services), servers_(servers),
      wait_(services.clock, services.timers)
{
    connect(c_.cmdSetIP, &QPushButton::clicked, this, &IpSetupPanel::cmdSetIP_Click);
    connect(c_.cmdIPCancel, &QPushButton::clicked, this, &IpSetupPanel::cmdIPCancel_Click);
    connect(c_.cmdIPOK, &QPushButton::clicked, this, &IpSetupPanel::cmdIPOK_Click);
    // Selecting an option by program (a server selection) counts as a click too.
    for (QRadioButton* option : c_.optAutoIP)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optAutoIP_Click();
        });
}

void IpSetupPanel::cmdSetIP_Click()
{
    Q_EMIT panelOpened();
    c_.fraSetIP->setTitle(QStringLiteral("Set IP on ") + AnsiBytesToText(selection_.mac));
    c_.fraSetIP->show();
}

void IpSetupPanel::optAutoIP_Click() { c_.fraIP->setEnabled(c_.optAutoIP[1]->isChecked()); }

void IpSetupPanel::cmdIPCancel_Click()
{
    Q_EMIT panelCancelled();
    c_.fraSetIP->hide();
}

std::string IpSetupPanel::buildDatagram() const
{
    const std::string port = TextToBytes(c_.txtPort->text());
    if (c_.optAutoIP[0]->isChecked())
        return TavikSetup::SetDHCPRequest(port, selection_.mac);
    TavikSetup::OctetBoxTexts boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = TextToBytes(c_.txtIPadres[i]->text());
    return TavikSetup::SetIPRequest(boxes, port, selection_.mac);
}

bool IpSetupPanel::sendCopy(const std::string& datagram)
{
    // Every adapter gets its copy, as the list request does: the device may sit on any of them.
    return !BroadcastOutOfEveryAdapter(services_.socket, nics_, datagram).failed();
}

void IpSetupPanel::sendNextCopy()
{
    if (services_.clock.elapsedSeconds() >= sendDeadline_ || replyArrived_) {
        sendingEnded();
        return;
    }
    if (!sendCopy(datagram_)) {
        // Sending stops; what follows waits for the user to close the report.
        services_.messages.show("Network error!", [self = QPointer(this)] {
            if (self && self->running_)
                self->sendingEnded();
        });
        return;
    }
    wait_.start(kCopyIntervalSeconds, [this] { sendNextCopy(); });
}

void IpSetupPanel::replyRead(const Datagram& reply)
{
    // A new device that happens to answer, or the selected one answering another PC's list
    // request with its old settings, tells nothing of whether the settings arrived.
    if (!running_ || !awaited_ || replyArrived_)
        return;
    const std::optional<DeviceReply> device = ReadDeviceReply(reply.bytes);
    replyArrived_ = device && SameMac(device->mac, selection_.mac) && Matches(*device, *awaited_);
}

void IpSetupPanel::sendingEnded()
{
    awaited_.reset();
    if (replyArrived_)
        rebootWait();
    else
        end();
}

void IpSetupPanel::rebootWait()
{
    Q_EMIT deviceRebooting();
    servers_.setText("");
    Q_EMIT statusShown(QStringLiteral("IPsetup sent OK. Rebooting"));
    wait_.start(
        TavikDatagram::RebootSeconds, [this] { end(); }, [this] { Q_EMIT statusExtended(QStringLiteral("...")); });
}

bool IpSetupPanel::settingsKeepDeviceReachable()
{
    // An empty box would be sent as 0: address x.y.z.0 or port 0 cuts the device off until
    // it is reset by hand. Empty mask, gateway and DNS boxes are sent as 0 on purpose.
    static const char* const kAddressMessage = "Please fill in all four numbers of the IP address.";
    static const char* const kPortMessage = "Please enter a port number.";
    const bool fixedAddress = c_.optAutoIP[1]->isChecked();
    QLineEdit* wrong = nullptr;
    const char* message = nullptr;
    if (fixedAddress) {
        const auto row = std::find_if(c_.txtIPadres.begin(), c_.txtIPadres.begin() + 4,
                                      [](const QLineEdit* box) { return box->text().isEmpty(); });
        if (row != c_.txtIPadres.begin() + 4) {
            wrong = *row;
            message = kAddressMessage;
        }
    }
    if (!wrong && c_.txtPort->text().isEmpty()) {
        wrong = c_.txtPort;
        message = kPortMessage;
    }
    if (!wrong) {
        std::optional<TavikSetup::Octets> address;
        if (fixedAddress) {
            address.emplace();
            for (std::size_t i = 0; i < address->size(); ++i)
                (*address)[i] = TavikSetup::OctetValue(TextToBytes(c_.txtIPadres[i]->text()));
        }
        switch (TavikSetup::SettingThatCutsOff(TavikSetup::PortValue(TextToBytes(c_.txtPort->text())), address)) {
        case TavikSetup::CutOffSetting::Address:
            wrong = c_.txtIPadres[0];
            message = "Please enter the device's IP address.";
            break;
        case TavikSetup::CutOffSetting::Port:
            wrong = c_.txtPort;
            message = kPortMessage;
            break;
        case TavikSetup::CutOffSetting::None:
            break;
        }
    }
    if (!wrong)
        return true;
    // The caret goes to the box concerned once the user has read why.
    services_.messages.show(message, [box = QPointer(wrong)] {
        if (box)
            box->setFocus(Qt::OtherFocusReason);
    });
    return false;
}

void IpSetupPanel::cmdIPOK_Click()
{
    if (!settingsKeepDeviceReachable())
        return; // the panel stays open for the correction
    c_.fraSetIP->hide();
    running_ = true;
    Q_EMIT commandStarted(DeviceCommand::IpSetup); // the panel's OK: it is closed from here
    datagram_ = buildDatagram();
    awaited_ = SettingsSentIn(datagram_);
    replyArrived_ = false;
    sendDeadline_ = services_.clock.elapsedSeconds() + kSendPhaseSeconds;
    sendNextCopy();
}

void IpSetupPanel::end()
{
    running_ = false;
    Q_EMIT commandEnded();
    c_.fraSetIP->hide();
    Q_EMIT refreshRequested();
}

void IpSetupPanel::cancel()
{
    if (!running_)
        return;
    wait_.cancel();
    running_ = false;
    awaited_.reset();
    Q_EMIT commandEnded();
}
