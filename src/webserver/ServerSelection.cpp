#include "ServerSelection.h"

#include "Search.h"
#include "ServerList.h"

#include "common/FormState.h"
#include "common/Latin1.h"
#include "common/LeadingNumber.h"
#include "common/TextPos.h"
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

namespace {
// A click up to here still reads the first block, so its heading selects it.
constexpr std::size_t kFirstBlockReach = 30;
// The ":" that ends a value is searched this far behind each label, whatever its length.
constexpr std::size_t kColonSearchOffset = 13;
} // namespace

std::array<std::string, 4> AddressPieces(std::string_view address, std::size_t& count)
{
    std::array<std::string, 4> pieces;
    count = 0;
    std::size_t start = 0;
    while (count < pieces.size()) {
        const std::size_t dot = address.find('.', start);
        std::string_view piece = address.substr(start, dot == std::string_view::npos ? dot : dot - start);
        // A line break after the last octet is invisible in the box but would have to
        // be deleted by hand; the piece ends there.
        piece = piece.substr(0, piece.find_first_of("\r\n"));
        pieces[count++] = std::string(piece);
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return pieces;
}

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
    const std::size_t block = servers_.text().find("Host Name");
    std::size_t position = 1;
    ParseServerBlock(position);
    // The list marks it as a click would.
    servers_.markBlock(block == std::string::npos ? 0 : block + 1);
}

std::size_t ServerSelection::find(std::string_view label, std::size_t from) const
{
    const std::size_t p = InStr(from, servers_.text(), label);
    // A label beyond the block belongs to the next server: taking its value would mix two devices.
    return blockEnd_ != 0 && p + label.size() - 1 > blockEnd_ ? 0 : p;
}

void ServerSelection::SelectServerAtCaret()
{
    c_.cmdDefault->setEnabled(false);
    c_.cmdReboot->setEnabled(false);
    c_.cmdDefault->setText(QStringLiteral("Load defaults"));
    c_.cmdReboot->setText(QStringLiteral("Reboot"));

    const std::size_t caret = servers_.caretPosition();
    std::size_t p = 1;
    std::size_t selectedBlock = 0;
    while (p != 0 && p < caret) {
        blockEnd_ = 0;
        p = find("Host Name", p);
        if (p != 0 && (p < caret || p < kFirstBlockReach)) {
            selectedBlock = p;
            ParseServerBlock(p);
        }
    }
    // The list shows which block the buttons now act on.
    servers_.markBlock(selectedBlock);
    Q_EMIT selectionRead();
}

bool ServerSelection::readRowValue(std::size_t label, std::size_t valueStart, std::string& value) const
{
    const std::size_t colon = find(":", label + kColonSearchOffset);
    if (colon == 0)
        return false;              // nothing ends the value: the row cannot be read
    const std::size_t end = colon; // the value is c - p - 13 characters long
    const std::size_t length = end > label + kColonSearchOffset ? end - label - kColonSearchOffset : 0;
    value = Mid(servers_.text(), valueStart, length);
    return true;
}

void ServerSelection::ParseServerBlock(std::size_t& position)
{
    const std::string& text = servers_.text();
    blockEnd_ = servers_.entryEnd(position);
    std::size_t p = find("MAC Address", position);
    position = p;
    if (p == 0)
        return;
    state_.selectedMac = Mid(text, p + 14, 17);
    c_.cmdSetIP->setEnabled(true);
    c_.labStatus->setText(QString());

    p = position = find("IP Assignment", p);
    if (p == 0)
        return;
    c_.optAutoIP[Mid(text, p + 16, 4) == "DHCP" ? 0 : 1]->setChecked(true);

    p = position = find("IP Address", p);
    if (p == 0)
        return;
    const std::size_t colon = find(":", p + kColonSearchOffset);
    if (colon == 0) {
        position = 0; // an address without anything after it cannot be read
        return;
    }
    state_.selectedIp = Mid(text, p + 13, colon > p + 13 ? colon - p - 13 : 0);
    FillAddressRow(state_.selectedIp, 0);
    const double port = LeadingNumber(MidToEnd(text, colon + 1));
    c_.txtPort->setText(PortBoxRules::textForWrite(port));

    // Rows 1 to 3: the value starts at label length + 3, and each row ends the reading
    // when its label, or the ":" behind its value, is missing.
    struct Row {
        const char* label;
        std::size_t valueOffset;
        int firstBox;
    };
    for (const Row row : {Row{"SubNet Mask", 14, 4}, Row{"Gateway", 10, 8}, Row{"DNS Server", 13, 12}}) {
        p = position = find(row.label, p);
        if (p == 0)
            break;
        std::string value;
        if (!readRowValue(p, p + row.valueOffset, value)) {
            position = 0;
            break;
        }
        FillAddressRow(value, row.firstBox);
    }

    c_.cmdDefault->setText(QStringLiteral("Load defaults on ") + AnsiBytesToText(state_.selectedIp));
    c_.cmdReboot->setText(QStringLiteral("Reboot ") + AnsiBytesToText(state_.selectedIp));
    c_.cmdReboot->setEnabled(true);
    c_.cmdSetIP->setEnabled(state_.selectedMac.starts_with("00:08"));
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
