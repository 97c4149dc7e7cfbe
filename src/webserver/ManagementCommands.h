#pragma once

#include <QObject>

#include <string>

class QLabel;
class QPushButton;
class QWidget;
class Search;
class ServerList;
struct FormState;
struct Services;

struct CommandWidgets {
    QWidget* picRefresh;
    QPushButton* cmdReboot;
    QPushButton* cmdDefault;
    QPushButton* cmdSetIP;
    QLabel* labStatus;
};

// Reboot and Load defaults: one short datagram straight to the selected webserver,
// twelve seconds of waiting with a growing row of dots, then a new search.
class ManagementCommands final : public QObject {
    Q_OBJECT
public:
    ManagementCommands(const CommandWidgets& widgets, FormState& state, Services& services, Search& search,
                       ServerList& servers);

    void cmdReboot_Click();
    void cmdDefault_Click();

Q_SIGNALS:
    // The wait is over and the window is not closing: a new search follows.
    void refreshRequested();

private:
    // Sends the datagram; a refused send is reported once. The command goes on either way.
    void sendToSelected(const std::string& datagram, int copies);
    void waitThenRefresh();

    CommandWidgets w_;
    FormState& state_;
    Services& services_;
    Search& search_;
    ServerList& servers_;
};
