#pragma once

#include "DeviceReply.h"
#include "ExpectedSettings.h"

#include <optional>
#include <string_view>

// How a command to a device ended, the same for the window and the command line, and the
// value a record of the work keeps.
enum class CommandOutcome {
    Confirmed,           // the device showed the values sent while they were still being sent
    SeenWithNewValues,   // the search after the command found it with the values sent
    SeenWithOtherValues, // found, but not with the values sent
    NotSeen,             // not found after the command
    Cancelled,           // the window closed or the command line was interrupted first
};

// "confirmed", "seen-new-values", "seen-other-values", "not-seen", "cancelled".
std::string_view OutcomeName(CommandOutcome outcome);
std::optional<CommandOutcome> OutcomeNamed(std::string_view name);

// What the search after a command tells: found with the values expected, found otherwise, or
// not found, where a device that confirmed the values while they went out counts as confirmed.
CommandOutcome OutcomeAfterSearch(bool confirmed, const ExpectedSettings& expected,
                                  const std::optional<DeviceReply>& seen);
