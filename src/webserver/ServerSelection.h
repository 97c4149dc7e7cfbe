#pragma once

#include "DeviceSelection.h"
#include "devices/ServerBlock.h"

#include <QObject>

#include <functional>

#include <array>
#include <string>
#include <string_view>

class DeviceSearch;
class ServerList;
struct Controls;

// Selecting a webserver reads its block back out of the server list text: a click in
// txtServers or Enter there selects the block under the caret, except while a search or a
// command runs (it would enable a second command inside the running one).
class ServerSelection final : public QObject {
    Q_OBJECT
public:
    // commandRunning: whether a command on the selected device runs (its owners answer): no
    // selection meanwhile.
    ServerSelection(const Controls& c, ServerList& servers, const DeviceSearch& search,
                    std::function<bool()> commandRunning, QObject* parent = nullptr);

    // The server whose listed reply holds the caret (a heading counts to the reply above it).
    void SelectServerAtCaret();
    // The search listed one webserver: it is selected, and marked, without a click.
    void selectLoneServer();
    // Selects the server of one listed reply: the IP setup panel shows that reply's values
    // and nothing else, and serverSelected() tells what the reply allows, and the interface
    // the reply arrived on, which the commands leave through.
    void ParseServerBlock(ReplySpan block, int heardOnInterface, const std::string& reachedAt);
    // Writes a dotted address into the four boxes from firstBox on.
    void FillAddressRow(std::string_view address, int firstBox);

Q_SIGNALS:
    // A click or Enter in the list withdraws Reboot's offer before it reads the block under
    // the caret: a click beside every block leaves it withdrawn.
    void rebootWithdrawn();
    // A listed block has been read: the commands now act on this webserver.
    void serverSelected(const DeviceSelection& selection);
    // A click or Enter in the list has read the blocks before the caret.
    void selectionRead();
    void statusShown(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool idle() const;
    // Empties the panel's boxes and puts its option back to DHCP, as it is before any selection.
    void clearPanel();

    const Controls& c_;
    ServerList& servers_;
    const DeviceSearch& search_;
    std::function<bool()> commandRunning_; // asked of the commands themselves
};
