#pragma once

#include "StatusLine.h"

#include "webserver/DeviceSelection.h"

#include <QColor>
#include <QString>

#include <optional>
#include <string>

// The caption of cmdWiFiConnect: the designed one until a scan finds a setup access point
// or the firmware generation is chosen by hand.
enum class GatewayCaption { Designed, CurrentFound, OldFound, CurrentChosen, OldChosen };

// What the window is doing and what its selection offers: everything the enabled states and
// captions of the shared buttons and the status line follow from (WindowState::apply). The
// window owns the one instance; only connectSubsystems() changes it, each report of a
// subsystem through the change named after it.
struct WindowMode {
    // The search: a refresh withdraws what the last selection offered; a listing that leaves
    // other than one webserver withdraws Reboot (a lone one is selected at the end), and only a
    // listing does; the search's end offers the gateway, whatever the Wi-Fi boxes hold.
    void searchBegun();
    void serversListed(int listed);
    void searchEnded();
    // The selection: a click withdraws Reboot before it reads a block; a block read offers
    // Reboot where it holds an address, and Set IP where the device also takes settings.
    void rebootWithdrawn();
    void serverSelected(const DeviceSelection& selected);
    // The commands: Reboot withdraws both offers, Load defaults Reboot's only; the IP setup
    // panel withdraws both while open, and Cancel offers them again for the selection.
    void commandStarted(DeviceCommand started);
    void commandEnded();
    void ipPanelOpened();
    void ipPanelCancelled();
    // The device took its IP settings and reboots: Reboot no longer names it.
    void deviceRebooting();
    // The Wi-Fi panel.
    void connectReadinessJudged(bool ready);
    void setupApFound(bool current);
    void setupApChosen(bool current);
    // The gateway button is marked as running while the sequence keeps the window busy; the
    // sequence owns its share of the status line from its first step to its clean-up.
    void gatewaySequence(bool running);
    void gatewayStarted();
    void gatewayEnded();

    // From the refresh's start to the search's end, also when no search could run.
    bool searching = false;
    // Reboot or Load defaults from its click, IP setup from OK, each to its end.
    std::optional<DeviceCommand> command;
    bool ipPanelOpen = false;
    bool gatewayRunning = false;

    // The last webserver whose block was read; a later click beside every block keeps it.
    DeviceSelection selection;
    // What the selection offers until something withdraws it: a refresh and a command
    // withdraw both, a click beside every block and a listing that leaves other than one
    // webserver withdraw Reboot only, so Set IP may still act on the selection.
    bool rebootOffered = false;
    bool setIpOffered = false;
    // The address the captions of Reboot and Load defaults name; empty: the plain caption.
    std::string rebootCaptionIp;
    std::string defaultCaptionIp;

    // Each operation's texts, and which of them the line shows.
    StatusLine status;

    // The gateway is offered once the first search has ended or could not run.
    bool gatewayOffered = false;
    // The readiness rule's last verdict on the Wi-Fi boxes; none since a search ended,
    // which offers the button whatever the boxes hold.
    std::optional<bool> connectReady;
    GatewayCaption gatewayCaption = GatewayCaption::Designed;
};
