#pragma once

#include "controls/ControlView.h"

#include "DeviceSelection.h"
#include "devices/ServerBlock.h"

#include <QObject>

#include <array>
#include <string>
#include <string_view>

class DeviceSearch;
class ServerList;
class WebserverSession;

// Selecting a webserver reads its block back out of the server list text: a click in
// txtServers or Enter there selects the block under the caret, except while a search or a
// command runs (it would enable a second command inside the running one).
class ServerSelection final : public QObject {
    Q_OBJECT
public:
    // What is read goes to the session; no selection while its command runs.
    ServerSelection(const WebserverControls& c, ServerList& servers, const DeviceSearch& search,
                    WebserverSession& session, QObject* parent = nullptr);

    // The server whose listed reply holds the caret (a heading counts to the reply above it).
    void SelectServerAtCaret();
    // The search listed one webserver: it is selected, and marked, without a click.
    void selectLoneServer();
    // Selects the server of one listed reply: the session learns the reply's values, what the
    // reply allows, and the interface the reply arrived on, which the commands leave through.
    void ParseServerBlock(ReplySpan block, int heardOnInterface, const std::string& reachedAt);

Q_SIGNALS:
    // A click or Enter in the list has read the blocks before the caret.
    void selectionRead();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool idle() const;

    const WebserverControls c_;
    ServerList& servers_;
    const DeviceSearch& search_;
    WebserverSession& session_;
};
