// Any text as a set-up plan: it reads into rows or problems, never both empty; every problem
// names a line of the text; a plan without problems holds only rows the checks let through.
#include "Check.h"

#include "devices/SetupPlan.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SetupPlan plan = SetupPlan::Read(text);
    // An upper bound: CR LF counts twice.
    const auto lines = std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r') + 1;
    Check(!plan.problems().empty() || !plan.rows().empty());
    for (const PlanProblem& problem : plan.problems())
        Check(problem.line >= 0 && problem.line <= lines && !problem.text.empty());
    if (!plan.problems().empty())
        return 0;
    for (const PlanRow& row : plan.rows()) {
        const ExpectedSettings& s = row.settings;
        Check(s.dhcp && s.port && *s.port >= 1 && *s.port <= 60000 && row.mac.size() == 17);
        Check(*s.dhcp || (!s.address.empty() && !s.mask.empty() && !s.gateway.empty() && !s.dns.empty()));
    }
    return 0;
}
