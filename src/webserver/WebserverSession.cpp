#include "WebserverSession.h"

#include "devices/CommandRequest.h"
#include "devices/DeviceCommandRun.h"
#include "platform/MessageBox.h"

#include <QPointer>

WebserverSession::WebserverSession(DeviceCommandRun& run, MessageBox& messages, QObject* parent)
    : QObject(parent), run_(run), messages_(messages)
{
    // The run is the window's one: every refused send of its commands is reported here, and
    // the command goes on once the user has closed the report.
    connect(&run_, &DeviceCommandRun::sendRefused, this, [this] {
        if (!command_)
            return;
        messages_.show("Network error!", [self = QPointer(this)] {
            if (self && self->command_)
                self->run_.resume();
        });
    });
    // The device took its IP settings and reboots: Reboot no longer names it.
    connect(&run_, &DeviceCommandRun::waitStarted, this, [this] {
        if (command_ != DeviceCommand::IpSetup)
            return;
        rebootCaptionIp_.clear();
        Q_EMIT changed();
    });
    connect(&run_, &DeviceCommandRun::readyToCheck, this, [this] {
        if (!command_)
            return;
        end();
        Q_EMIT commandEnded();
    });
}

void WebserverSession::searchBegun()
{
    rebootOffered_ = false;
    setIpOffered_ = false;
    Q_EMIT changed();
}

void WebserverSession::listed(int count)
{
    if (count != 1)
        withdrawReboot();
}

void WebserverSession::withdrawReboot()
{
    rebootOffered_ = false;
    rebootCaptionIp_.clear();
    defaultCaptionIp_.clear();
    Q_EMIT changed();
}

void WebserverSession::setSelection(const DeviceSelection& selected)
{
    selection_ = selected;
    const bool addressed = !selected.ip.empty();
    setIpOffered_ = addressed && selected.takesIpSettings;
    // Without an address, Reboot stays as it was: withdrawn by the click or the refresh before.
    if (addressed) {
        rebootOffered_ = true;
        rebootCaptionIp_ = selected.ip;
        defaultCaptionIp_ = selected.ip;
    }
    Q_EMIT selectionMade(selected);
    Q_EMIT changed();
}

void WebserverSession::openPanel()
{
    ipPanelOpen_ = true;
    rebootOffered_ = false;
    setIpOffered_ = false;
    Q_EMIT changed();
}

void WebserverSession::cancelPanel()
{
    ipPanelOpen_ = false;
    rebootOffered_ = !selection_.ip.empty();
    setIpOffered_ = true;
    Q_EMIT changed();
}

void WebserverSession::begin(DeviceCommand command)
{
    commandStatus_.start();
    command_ = command;
    rebootOffered_ = false;
    if (command != DeviceCommand::LoadDefaults)
        setIpOffered_ = false;
    if (command == DeviceCommand::IpSetup)
        ipPanelOpen_ = false; // its OK closed the panel
    Q_EMIT changed();
}

void WebserverSession::run(const CommandRequest& request) { run_.start(request, true); }

void WebserverSession::end()
{
    commandStatus_.end();
    command_.reset();
    Q_EMIT changed();
}

void WebserverSession::cancelCommand()
{
    if (!command_)
        return;
    run_.cancel();
    end();
}

void WebserverSession::showCommandStatus(const QString& text)
{
    commandStatus_.show(text);
    Q_EMIT changed();
}

void WebserverSession::extendCommandStatus(const QString& more)
{
    commandStatus_.extend(more);
    Q_EMIT changed();
}

void WebserverSession::showSelectionStatus(const QString& text)
{
    selectionStatus_.show(text);
    Q_EMIT changed();
}
