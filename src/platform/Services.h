#pragma once

class AdapterList;
class Clock;
class CommandRunner;
class EchoTest;
class EventWaiter;
class NeighbourTable;
class MessageBox;
class ProvisioningCommands;
class TempDir;
class Timer;
class UdpSocket;
class UrlOpener;
class Wlan;

// Every contact with the operating system, handed to the window and its controllers.
// The services outlive the window.
struct Services {
    Clock& clock;
    EventWaiter& waiter;
    Timer& timer1;
    UdpSocket& socket;
    AdapterList& adapters;
    EchoTest& echo;
    NeighbourTable& neighbours;
    Wlan& wlan;
    CommandRunner& commands;
    TempDir& tempDir;
    UrlOpener& urls;
    MessageBox& messages;
    // The command lines that join the gateway's setup access point.
    const ProvisioningCommands& provisioning;
};
