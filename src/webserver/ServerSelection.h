#pragma once

#include <array>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ServerList;
struct FormState;

struct SelectionWidgets {
    QPushButton* cmdReboot;
    QPushButton* cmdDefault;
    QPushButton* cmdSetIP;
    QLabel* labStatus;
    std::array<QRadioButton*, 2> optAutoIP;
    std::array<QLineEdit*, 16> txtIPadres;
    QLineEdit* txtPort;
};

// Pieces of a dotted address as they go into one row of octet boxes: cut at every
// ".", at most four, each ending before its first line break.
std::array<std::string, 4> AddressPieces(std::string_view address, std::size_t& count);

// Selecting a webserver reads its block back out of the server list text.
class ServerSelection final {
public:
    ServerSelection(const SelectionWidgets& widgets, FormState& state, ServerList& servers);

    // Click in txtServers: the server whose "Host Name" is the last one before the caret.
    void SelectServerAtCaret();
    // Reads the block at or after position (1-based) and selects that server; leaves in
    // position the last label found, or 0 when a label it needs was missing. Labels are
    // searched only up to the end of the listed reply that holds position.
    void ParseServerBlock(std::size_t& position);
    // Writes a dotted address into the four boxes from firstBox on.
    void FillAddressRow(std::string_view address, int firstBox);

private:
    // The 1-based position of label at or after from, within the block being read; 0 if none.
    std::size_t find(std::string_view label, std::size_t from) const;
    // The value of an address label: from valueStart to just before the ":" searched
    // 13 characters after the label. False when no ":" follows.
    bool readRowValue(std::size_t label, std::size_t valueStart, std::string& value) const;

    SelectionWidgets w_;
    FormState& state_;
    ServerList& servers_;
    std::size_t blockEnd_ = 0; // last position of the block being read; 0: the whole list
};
