#include "CommandOutcome.h"

#include "DeviceReply.h"
#include "ExpectedSettings.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<CommandOutcome, std::string_view>, 5> kNames{{
    {CommandOutcome::Confirmed, "confirmed"},
    {CommandOutcome::SeenWithNewValues, "seen-new-values"},
    {CommandOutcome::SeenWithOtherValues, "seen-other-values"},
    {CommandOutcome::NotSeen, "not-seen"},
    {CommandOutcome::Cancelled, "cancelled"},
}};
} // namespace

std::string_view OutcomeName(CommandOutcome outcome)
{
    for (const auto& [value, name] : kNames)
        if (value == outcome)
            return name;
    return {};
}

std::optional<CommandOutcome> OutcomeNamed(std::string_view name)
{
    for (const auto& [value, text] : kNames)
        if (text == name)
            return value;
    return std::nullopt;
}

CommandOutcome OutcomeAfterSearch(bool confirmed, const ExpectedSettings& expected,
                                  const std::optional<DeviceReply>& seen)
{
    if (seen)
        return Matches(*seen, expected) ? CommandOutcome::SeenWithNewValues : CommandOutcome::SeenWithOtherValues;
    return confirmed ? CommandOutcome::Confirmed : CommandOutcome::NotSeen;
}
