#include "ServerSelection.h"

#include "devices/Datagrams.h"
#include "devices/DeviceSearch.h"
#include "ServerList.h"
#include "WebserverSession.h"

#include "common/Latin1.h"
#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

ServerSelection::ServerSelection(const WebserverControls& c, ServerList& servers, const DeviceSearch& search,
                                 WebserverSession& session, QObject* parent)
    : QObject(parent), c_(c), servers_(servers), search_(search), session_(session)
{
    c_.txtServers->viewport()->installEventFilter(this);
    c_.txtServers->installEventFilter(this);
    // The list takes no input while the IP setup panel is open or its settings are on their way.
    connect(&session_, &WebserverSession::changed, this, [this] {
        c_.txtServers->setEnabled(!session_.ipPanelOpen() && session_.command() != DeviceCommand::IpSetup);
    });
}

bool ServerSelection::idle() const { return !session_.command() && !search_.ticking(); }

bool ServerSelection::eventFilter(QObject* watched, QEvent* event)
{
    // The list can still be scrolled and read while a search or a command runs.
    // The right button opens the list's menu and selects nothing.
    if (watched == c_.txtServers->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && c_.txtServers->isEnabled() && idle())
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
    ParseServerBlock(block, servers_.heardOnInterface(0), search_.reachedAt(servers_.senderAddress(0)));
    // The list marks it as a click would.
    servers_.markBlock(block);
}

void ServerSelection::SelectServerAtCaret()
{
    // A click beside every block leaves Reboot withdrawn.
    session_.withdrawReboot();

    std::optional<ReplySpan> block;
    if (const auto index = ReplyAtCaret(servers_.replyFirsts(), servers_.caretPosition())) {
        block = servers_.reply(*index);
        ParseServerBlock(*block, servers_.heardOnInterface(*index), search_.reachedAt(servers_.senderAddress(*index)));
    }
    // The list shows which block the buttons now act on.
    servers_.markBlock(block);
    Q_EMIT selectionRead();
}

void ServerSelection::ParseServerBlock(ReplySpan block, int heardOnInterface, const std::string& reachedAt)
{
    const std::optional<ServerBlockValues> values = ReadServerBlock(servers_.text(), block);
    if (!values)
        return;
    DeviceSelection selection;
    selection.mac = values->mac;
    selection.interfaceIndex = heardOnInterface;
    selection.reachedAt = reachedAt;
    session_.showSelectionStatus(QString());

    // Without an address there is nothing to send Reboot to, nor one Set IP could start from.
    if (values->address)
        selection.ip = *values->address;
    selection.takesIpSettings = TavikDatagram::TakesIpSettings(selection.mac);
    selection.values = *values;
    session_.setSelection(selection);
}
