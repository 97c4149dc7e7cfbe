#pragma once

#include <QObject>

#include <string>

class Search;
class ServerList;
struct Controls;
struct FormState;
struct Services;

// Reboot and Load defaults: one short datagram straight to the selected webserver,
// twelve seconds of waiting with a growing row of dots, then a new search.
class ManagementCommands final : public QObject {
    Q_OBJECT
public:
    ManagementCommands(const Controls& c, const FormState& state, Services& services, Search& search,
                       ServerList& servers, QObject* parent = nullptr);

    void cmdReboot_Click();
    void cmdDefault_Click();

Q_SIGNALS:
    // From the click to the end of the wait; no second command may start meanwhile.
    void commandStarted();
    void commandEnded();
    // The wait is over and the window is not closing: a new search follows.
    void refreshRequested();

private:
    // Sends the datagram; a refused send is reported once. The command goes on either way.
    void sendToSelected(const std::string& datagram, int copies);
    void waitThenRefresh();

    const Controls& c_;
    const FormState& state_;
    Services& services_;
    Search& search_;
    ServerList& servers_;
};
