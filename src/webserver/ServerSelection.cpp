#include "ServerSelection.h"

#include "Datagrams.h"
#include "Search.h"
#include "ServerList.h"

#include "common/FormState.h"
#include "common/Latin1.h"
#include "controls/Controls.h"
#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

ServerSelection::ServerSelection(const Controls& c, FormState& state, ServerList& servers, const Search& search,
                                 QObject* parent)
    : QObject(parent), c_(c), state_(state), servers_(servers), search_(search)
{
    c_.txtServers->viewport()->installEventFilter(this);
    c_.txtServers->installEventFilter(this);
}

bool ServerSelection::idle() const { return !commandRunning_ && !search_.ticking(); }

bool ServerSelection::eventFilter(QObject* watched, QEvent* event)
{
    // The list can still be scrolled and read while a search or a command runs.
    if (watched == c_.txtServers->viewport() && event->type() == QEvent::MouseButtonRelease
        && c_.txtServers->isEnabled() && idle())
        SelectServerAtCaret();
    // Enter in the list selects the block under the caret, as a click there does.
    if (watched == c_.txtServers && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (idle())
                SelectServerAtCaret();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ServerSelection::selectLoneServer()
{
    if (servers_.replyFirsts().empty())
        return;
    const ReplySpan block = servers_.reply(0);
    ParseServerBlock(block, servers_.heardOnInterface(0));
    // The list marks it as a click would.
    servers_.markBlock(block);
}

void ServerSelection::SelectServerAtCaret()
{
    c_.cmdDefault->setEnabled(false);
    c_.cmdReboot->setEnabled(false);
    c_.cmdDefault->setText(QStringLiteral("Load defaults"));
    c_.cmdReboot->setText(QStringLiteral("Reboot"));

    std::optional<ReplySpan> block;
    if (const auto index = ReplyAtCaret(servers_.replyFirsts(), servers_.caretPosition())) {
        block = servers_.reply(*index);
        ParseServerBlock(*block, servers_.heardOnInterface(*index));
    }
    // The list shows which block the buttons now act on.
    servers_.markBlock(block);
    Q_EMIT selectionRead();
}

void ServerSelection::clearPanel()
{
    for (QLineEdit* box : c_.txtIPadres)
        box->clear();
    c_.txtPort->clear();
    c_.optAutoIP[0]->setChecked(true);
}

void ServerSelection::ParseServerBlock(ReplySpan block, int heardOnInterface)
{
    const std::optional<ServerBlockValues> values = ReadServerBlock(servers_.text(), block);
    if (!values)
        return;
    // What the reply does not hold shows empty: a value left from the device selected before
    // would be sent to this one.
    clearPanel();
    state_.selectedMac = values->mac;
    state_.selectedInterface = heardOnInterface;
    state_.selectedIp.clear();
    c_.cmdSetIP->setEnabled(false);
    c_.labStatus->setText(QString());

    if (values->dhcp)
        c_.optAutoIP[*values->dhcp ? 0 : 1]->setChecked(true);
    if (values->address)
        FillAddressRow(*values->address, 0);
    if (values->port)
        c_.txtPort->setText(PortBoxRules::textForWrite(*values->port));
    for (std::size_t row = 0; row < values->rows.size(); ++row)
        if (values->rows[row])
            FillAddressRow(*values->rows[row], 4 * static_cast<int>(row + 1));
    if (!values->address || values->address->empty())
        return; // nothing to send Reboot to, nor an address Set IP could start from
    state_.selectedIp = *values->address;
    c_.cmdDefault->setText(QStringLiteral("Load defaults on ") + AnsiBytesToText(state_.selectedIp));
    c_.cmdReboot->setText(QStringLiteral("Reboot ") + AnsiBytesToText(state_.selectedIp));
    c_.cmdReboot->setEnabled(true);
    c_.cmdSetIP->setEnabled(TavikDatagram::TakesIpSettings(state_.selectedMac));
}

void ServerSelection::FillAddressRow(std::string_view address, int firstBox)
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
