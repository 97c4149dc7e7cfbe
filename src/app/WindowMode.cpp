#include "WindowMode.h"

void WindowMode::searchBegun()
{
    status.started(StatusSource::Search);
    searching = true;
    rebootOffered = false;
    setIpOffered = false;
}

void WindowMode::serversListed(int listed)
{
    if (listed != 1)
        rebootWithdrawn();
}

void WindowMode::searchEnded()
{
    status.ended(StatusSource::Search);
    searching = false;
    gatewayOffered = true;
    connectReady.reset();
}

void WindowMode::rebootWithdrawn()
{
    rebootOffered = false;
    rebootCaptionIp.clear();
    defaultCaptionIp.clear();
}

void WindowMode::serverSelected(const DeviceSelection& selected)
{
    selection = selected;
    const bool addressed = !selected.ip.empty();
    setIpOffered = addressed && selected.takesIpSettings;
    // Without an address, Reboot stays as it was: withdrawn by the click or the refresh before.
    if (!addressed)
        return;
    rebootOffered = true;
    rebootCaptionIp = selected.ip;
    defaultCaptionIp = selected.ip;
}

void WindowMode::commandStarted(DeviceCommand started)
{
    status.started(StatusSource::Command);
    command = started;
    rebootOffered = false;
    if (started != DeviceCommand::LoadDefaults)
        setIpOffered = false;
    if (started == DeviceCommand::IpSetup)
        ipPanelOpen = false; // its OK closed the panel
}

void WindowMode::commandEnded()
{
    status.ended(StatusSource::Command);
    command.reset();
}

void WindowMode::ipPanelOpened()
{
    ipPanelOpen = true;
    rebootOffered = false;
    setIpOffered = false;
}

void WindowMode::ipPanelCancelled()
{
    ipPanelOpen = false;
    rebootOffered = !selection.ip.empty();
    setIpOffered = true;
}

void WindowMode::deviceRebooting() { rebootCaptionIp.clear(); }

void WindowMode::connectReadinessJudged(bool ready) { connectReady = ready; }

void WindowMode::setupApFound(bool current)
{
    gatewayCaption = current ? GatewayCaption::CurrentFound : GatewayCaption::OldFound;
}

void WindowMode::setupApChosen(bool current)
{
    gatewayCaption = current ? GatewayCaption::CurrentChosen : GatewayCaption::OldChosen;
}

void WindowMode::gatewaySequence(bool running) { gatewayRunning = running; }

void WindowMode::gatewayStarted() { status.started(StatusSource::Gateway); }

void WindowMode::gatewayEnded() { status.ended(StatusSource::Gateway); }
