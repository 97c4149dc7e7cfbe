#pragma once

#include "DeviceSelection.h"

#include "controls/StatusShare.h"

#include <QObject>

#include <optional>
#include <string>

class DeviceCommandRun;
class MessageBox;
struct CommandRequest;

// The window's work on webservers, owned in one place: the selected webserver and what it
// offers, the command that runs on it, and the IP setup panel. The list's selection, the
// command buttons and the panel change it; the window reads it when it reports changed().
class WebserverSession final : public QObject {
    Q_OBJECT
public:
    WebserverSession(DeviceCommandRun& run, MessageBox& messages, QObject* parent = nullptr);

    // The last webserver whose block was read; a later click beside every block keeps it.
    const DeviceSelection& selection() const { return selection_; }
    // What the selection offers until something withdraws it: a refresh and a command
    // withdraw both, a click beside every block and a listing that leaves other than one
    // webserver withdraw Reboot only, so Set IP may still act on the selection.
    bool rebootOffered() const { return rebootOffered_; }
    bool setIpOffered() const { return setIpOffered_; }
    // The address the captions of Reboot and Load defaults name; empty: the plain caption.
    const std::string& rebootCaptionIp() const { return rebootCaptionIp_; }
    const std::string& defaultCaptionIp() const { return defaultCaptionIp_; }
    // Reboot or Load defaults from its click, IP setup from OK, each to the end of its wait.
    std::optional<DeviceCommand> command() const { return command_; }
    bool ipPanelOpen() const { return ipPanelOpen_; }
    const StatusShare& commandStatus() const { return commandStatus_; }
    const StatusShare& selectionStatus() const { return selectionStatus_; }

    // A refresh withdraws what the last selection offered; a listing that leaves other than
    // one webserver withdraws Reboot (a lone one is selected at the end), and only a listing does.
    void searchBegun();
    void listed(int count);
    // A click withdraws Reboot before it reads a block; a block read offers Reboot where it
    // holds an address, and Set IP where the device also takes settings.
    void withdrawReboot();
    void setSelection(const DeviceSelection& selected);
    // The panel withdraws both offers while open, and Cancel offers them again.
    void openPanel();
    void cancelPanel();
    // A command on the selection: Reboot withdraws both offers, Load defaults Reboot's only, the
    // panel's OK closes the panel. run() hands the request to the engine once the command's
    // first texts are shown; the command ends when its wait is over (commandEnded()) or by cancel().
    void begin(DeviceCommand command);
    void run(const CommandRequest& request);
    void cancelCommand();
    void showCommandStatus(const QString& text);
    void extendCommandStatus(const QString& more);
    void showSelectionStatus(const QString& text);

Q_SIGNALS:
    void changed();
    // A block has been read: the IP setup panel shows its values.
    void selectionMade(const DeviceSelection& selected);
    // The command's wait is over and the window is not closing: a new search follows.
    void commandEnded();

private:
    void end();

    DeviceCommandRun& run_;
    MessageBox& messages_;
    DeviceSelection selection_;
    bool rebootOffered_ = false;
    bool setIpOffered_ = false;
    std::string rebootCaptionIp_;
    std::string defaultCaptionIp_;
    std::optional<DeviceCommand> command_;
    bool ipPanelOpen_ = false;
    StatusShare commandStatus_;
    StatusShare selectionStatus_;
};
