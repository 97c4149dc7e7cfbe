#pragma once

#include <QObject>

#include <array>
#include <string>
#include <string_view>

class Search;
class ServerList;
struct Controls;
struct FormState;

// Pieces of a dotted address as they go into one row of octet boxes: cut at every
// ".", at most four, each ending before its first line break.
std::array<std::string, 4> AddressPieces(std::string_view address, std::size_t& count);

// Selecting a webserver reads its block back out of the server list text: a click in
// txtServers or Enter there selects the block under the caret, except while a search or a
// command runs (it would enable a second command inside the running one).
class ServerSelection final : public QObject {
    Q_OBJECT
public:
    ServerSelection(const Controls& c, FormState& state, ServerList& servers, const Search& search,
                    QObject* parent = nullptr);

    // The server whose "Host Name" is the last one before the caret.
    void SelectServerAtCaret();
    // The search listed one webserver: it is selected, and marked, without a click.
    void selectLoneServer();
    // Reads the block at or after position (1-based) and selects that server; leaves in
    // position the last label found, or 0 when a label it needs was missing. Labels are
    // searched only up to the end of the listed reply that holds position.
    void ParseServerBlock(std::size_t& position);
    // Writes a dotted address into the four boxes from firstBox on.
    void FillAddressRow(std::string_view address, int firstBox);

    // A management command runs from commandStarted() to commandEnded(): no selection meanwhile.
    void commandStarted() { commandRunning_ = true; }
    void commandEnded() { commandRunning_ = false; }

Q_SIGNALS:
    // A click or Enter in the list has read the blocks before the caret.
    void selectionRead();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool idle() const;
    // The 1-based position of label at or after from, within the block being read; 0 if none.
    std::size_t find(std::string_view label, std::size_t from) const;
    // The value of an address label: from valueStart to just before the ":" searched
    // 13 characters after the label. False when no ":" follows.
    bool readRowValue(std::size_t label, std::size_t valueStart, std::string& value) const;

    const Controls& c_;
    FormState& state_;
    ServerList& servers_;
    const Search& search_;
    std::size_t blockEnd_ = 0; // last position of the block being read; 0: the whole list
    bool commandRunning_ = false;
};
