#pragma once

#include "CommandOutcome.h"
#include "CommandRequest.h"
#include "ExpectedSettings.h"

#include <QDateTime>

#include <optional>
#include <string>
#include <string_view>

struct DeviceReply;

// What the commissioning log keeps of one command sent to a device: who sent what from where,
// and the device's values before and after. Texts are UTF-8.
struct CommissioningRecord {
    QDateTime time; // when it was sent, written with its offset from UTC
    std::string program;
    std::string version;
    std::string pcName;
    std::string userName;
    std::string adapter; // the adapter it went out of, or "every adapter" for a broadcast
    std::string mac;
    std::string hostName;
    CommandKind command = CommandKind::Reboot;
    ExpectedSettings before; // as the device was listed
    ExpectedSettings sent;   // what the command asked for; nothing for Reboot and Load defaults
};

// A record stamped with what every line carries: now, this program's version, the PC's host
// name and the user's name. `program` names the front end ("hoptrace", "hoptrace-cli"): both
// share one application name, so that they share one data folder.
CommissioningRecord StampedRecord(std::string program, CommandKind command);

// A device's values as it was listed, its bytes read through the PC's code page as shown.
ExpectedSettings SettingsListed(const DeviceReply& reply);

// One command as read back from the log, with its outcome once that line was written.
struct LogEntry {
    std::string id;
    CommissioningRecord record;
    std::optional<CommandOutcome> outcome;
    QDateTime outcomeTime;
};
