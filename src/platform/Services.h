#pragma once

class AdapterList;
class BackgroundCalls;
class Clock;
class CommandRunner;
class EchoTest;
class NeighbourTable;
class MessageBox;
class ProvisioningCommands;
class TempDir;
class TimerFactory;
class UdpSocket;
class UrlOpener;
class Wlan;

// Every contact with the operating system, handed to the window and its controllers.
// The services outlive the window.
struct Services {
    Clock& clock;
    // The timers of every wait, the search's tick (Timer1) among them.
    TimerFactory& timers;
    BackgroundCalls& background;
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
