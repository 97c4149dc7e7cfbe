#pragma once

#include "CliCommands.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

enum class CliVerb { None, List, Reboot, Defaults, SetIp, SetDhcp, Ping, Log, Apply };

// What the command line asks for, its arguments checked. With no verb nothing runs, and the
// exit code tells why: the arguments were refused, or help was printed.
struct CliRequest {
    CliVerb verb = CliVerb::None;
    int exitCode = ExitOk;
    std::string target; // the device's MAC, or the address to ping
    double searchSeconds = 3.0;
    double waitSeconds = 30.0;
    ListingFormat format = ListingFormat::Text;
    ExpectedSettings expected;                  // what set-ip and set-dhcp are to leave on the device
    std::vector<std::uint32_t> searchAddresses; // list --search: asked by unicast too (host order, sorted)
    QDateTime since;                            // log: the earliest command shown; invalid for all
    std::string macFilter;                      // log: the device whose commands are shown; empty for all
    bool dryRun = false;                        // apply: print, send nothing
};

CliRequest ParseCliArguments(const QStringList& arguments);
// Runs the request's verb; its exit code.
int RunCliRequest(const CliRequest& request, CliCommands& commands);
