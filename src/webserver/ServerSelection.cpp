#include "ServerSelection.h"

#include "ServerList.h"

#include "common/FormState.h"
#include "common/Latin1.h"
#include "common/LeadingNumber.h"
#include "common/TextPos.h"
#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"

#include <QLabel>
#include <QLineEdit>
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

ServerSelection::ServerSelection(const SelectionWidgets& widgets, FormState& state, ServerList& servers)
    : w_(widgets), state_(state), servers_(servers)
{ }

std::size_t ServerSelection::find(std::string_view label, std::size_t from) const
{
    const std::size_t p = InStr(from, servers_.text(), label);
    // A label beyond the block belongs to the next server: taking its value would mix two devices.
    return blockEnd_ != 0 && p + label.size() - 1 > blockEnd_ ? 0 : p;
}

void ServerSelection::SelectServerAtCaret()
{
    w_.cmdDefault->setEnabled(false);
    w_.cmdReboot->setEnabled(false);
    w_.cmdDefault->setText(QStringLiteral("Load defaults"));
    w_.cmdReboot->setText(QStringLiteral("Reboot"));

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
    w_.cmdSetIP->setEnabled(true);
    w_.labStatus->setText(QString());

    p = position = find("IP Assignment", p);
    if (p == 0)
        return;
    w_.optAutoIP[Mid(text, p + 16, 4) == "DHCP" ? 0 : 1]->setChecked(true);

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
    w_.txtPort->setText(PortBoxRules::textForWrite(port));

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

    w_.cmdDefault->setText(QStringLiteral("Load defaults on ") + AnsiBytesToText(state_.selectedIp));
    w_.cmdReboot->setText(QStringLiteral("Reboot ") + AnsiBytesToText(state_.selectedIp));
    w_.cmdReboot->setEnabled(true);
    w_.cmdSetIP->setEnabled(state_.selectedMac.starts_with("00:08"));
}

void ServerSelection::FillAddressRow(std::string_view address, int firstBox)
{
    for (int i = 0; i < 4; ++i)
        w_.txtIPadres[firstBox + i]->setText(QStringLiteral("0"));
    std::size_t count = 0;
    const std::array<std::string, 4> pieces = AddressPieces(address, count);
    for (std::size_t i = 0; i < count; ++i) {
        const int box = firstBox + static_cast<int>(i);
        w_.txtIPadres[box]->setText(OctetBoxRules::textForWrite(BytesToText(pieces[i]), box));
    }
}
