#include "IpSetupPanel.h"

#include "ServerList.h"
#include "WebserverSession.h"

#include "common/Latin1.h"
#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"
#include "devices/CommandRequest.h"
#include "devices/DeviceCommandRun.h"
#include "devices/ListingText.h"
#include "devices/SetupDatagrams.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

IpSetupPanel::IpSetupPanel(const WebserverControls& c, Services& services, WebserverSession& session,
                           ServerList& servers, DeviceCommandRun& run, QObject* parent)
    : QObject(parent), c_(c), services_(services), session_(session), servers_(servers)
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
    connect(&session_, &WebserverSession::selectionMade, this, &IpSetupPanel::showValues);
    setTabOrder();
    // Enter and Escape reach the panel before its typing rules see them.
    c_.fraSetIP->installEventFilter(this);
    for (QWidget* inside : c_.fraSetIP->findChildren<QWidget*>())
        if (inside->focusPolicy() != Qt::NoFocus)
            inside->installEventFilter(this);
    // The device took the settings and reboots.
    connect(&run, &DeviceCommandRun::waitStarted, this, [this] {
        if (!showsRun())
            return;
        session_.showCommandStatus(QStringLiteral("IPsetup sent OK. Rebooting"));
    });
    connect(&run, &DeviceCommandRun::waitTicked, this, [this] {
        if (showsRun())
            session_.extendCommandStatus(QStringLiteral("..."));
    });
}

bool IpSetupPanel::showsRun() const { return session_.command() == DeviceCommand::IpSetup; }

void IpSetupPanel::setTabOrder()
{
    // Options, port, the octet boxes row by row, OK, Cancel.
    QWidget::setTabOrder(c_.optAutoIP[0], c_.optAutoIP[1]);
    QWidget::setTabOrder(c_.optAutoIP[1], c_.txtPort);
    QWidget::setTabOrder(c_.txtPort, c_.txtIPadres[0]);
    OctetBoxRules::chainTabOrder(c_.txtIPadres);
    QWidget::setTabOrder(c_.txtIPadres[15], c_.cmdIPOK);
    QWidget::setTabOrder(c_.cmdIPOK, c_.cmdIPCancel);
}

void IpSetupPanel::showValues(const DeviceSelection& selected)
{
    const ServerBlockValues& values = selected.values;
    for (QLineEdit* box : c_.txtIPadres)
        box->clear();
    c_.txtPort->clear();
    c_.optAutoIP[0]->setChecked(true);
    if (values.dhcp)
        c_.optAutoIP[*values.dhcp ? 0 : 1]->setChecked(true);
    if (values.address)
        fillAddressRow(*values.address, 0);
    if (values.port)
        c_.txtPort->setText(PortBoxRules::textForWrite(*values.port));
    for (std::size_t row = 0; row < values.rows.size(); ++row)
        if (values.rows[row])
            fillAddressRow(*values.rows[row], 4 * static_cast<int>(row + 1));
}

void IpSetupPanel::fillAddressRow(std::string_view address, int firstBox)
{
    for (int i = 0; i < 4; ++i)
        c_.txtIPadres[firstBox + i]->setText(QStringLiteral("0"));
    std::size_t count = 0;
    const std::array<std::string, 4> pieces = AddressPieces(address, count);
    for (std::size_t i = 0; i < count; ++i) {
        const int box = firstBox + static_cast<int>(i);
        c_.txtIPadres[box]->setText(OctetBoxRules::textForWrite(BytesToText(pieces[i]), box));
    }
}

bool IpSetupPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && c_.fraSetIP->isVisible()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            return panelKey(key->key());
    }
    return QObject::eventFilter(watched, event);
}

bool IpSetupPanel::panelKey(int key)
{
    if (key == Qt::Key_Escape) {
        c_.cmdIPCancel->click();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter on the focused Cancel button is that button's own action.
        QPushButton* target = QApplication::focusWidget() == c_.cmdIPCancel ? c_.cmdIPCancel : c_.cmdIPOK;
        if (target->isEnabled())
            target->click();
        return true;
    }
    return false;
}

void IpSetupPanel::cmdSetIP_Click()
{
    session_.openPanel();
    c_.fraSetIP->setTitle(QStringLiteral("Set IP on ") + AnsiBytesToText(session_.selection().mac));
    c_.fraSetIP->show();
}

void IpSetupPanel::optAutoIP_Click() { c_.fraIP->setEnabled(c_.optAutoIP[1]->isChecked()); }

void IpSetupPanel::cmdIPCancel_Click()
{
    session_.cancelPanel();
    c_.fraSetIP->hide();
}

std::string IpSetupPanel::buildDatagram() const
{
    const std::string port = TextToBytes(c_.txtPort->text());
    const std::string& mac = session_.selection().mac;
    if (c_.optAutoIP[0]->isChecked())
        return TavikSetup::SetDHCPRequest(port, mac);
    TavikSetup::OctetBoxTexts boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = TextToBytes(c_.txtIPadres[i]->text());
    return TavikSetup::SetIPRequest(boxes, port, mac);
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
    session_.begin(DeviceCommand::IpSetup); // the panel's OK: it is closed from here
    const DeviceSelection& selected = session_.selection();
    CommandRequest request = SetupCommandFor(selected.mac, selected.ip, selected.interfaceIndex,
                                             ListedReplyOf(servers_.listing(), selected.mac), buildDatagram());
    request.alsoUnicastTo = selected.reachedAt;
    session_.run(request);
}
