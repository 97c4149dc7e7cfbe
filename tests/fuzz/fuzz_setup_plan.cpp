// Any text as a set-up plan: it reads into rows or problems, never both empty; every problem
// names a line of the text; a plan without problems holds only rows the checks let through, and
// written again as a plan (the list's writer) it reads back to the same rows.
#include "devices/SetupPlan.h"
#include "devices/TableText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SetupPlan plan = SetupPlan::Read(text);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')
                                       + std::count(text.begin(), text.end(), '\r'))
        + 1;
    Check(!plan.problems().empty() || !plan.rows().empty());
    for (const PlanProblem& problem : plan.problems())
        Check(problem.line >= 0 && problem.line <= lines && !problem.text.empty());
    if (!plan.problems().empty())
        return 0;
    std::string again = CsvLine(SetupPlan::Columns());
    for (const PlanRow& row : plan.rows()) {
        const ExpectedSettings& s = row.settings;
        Check(s.dhcp && s.port && *s.port >= 1 && *s.port <= 60000 && row.mac.size() == 17);
        Check(*s.dhcp || (!s.address.empty() && !s.mask.empty() && !s.gateway.empty() && !s.dns.empty()));
        again += CsvLine(
            {row.mac, *s.dhcp ? "dhcp" : "fixed", s.address, s.mask, s.gateway, s.dns, std::to_string(*s.port)});
    }
    const SetupPlan reread = SetupPlan::Read(again);
    Check(reread.problems().empty() && reread.rows().size() == plan.rows().size());
    for (std::size_t i = 0; i < plan.rows().size(); ++i) {
        const ExpectedSettings &a = plan.rows()[i].settings, &b = reread.rows()[i].settings;
        Check(plan.rows()[i].mac == reread.rows()[i].mac && a.dhcp == b.dhcp && a.port == b.port
              && a.address == b.address && a.mask == b.mask && a.gateway == b.gateway && a.dns == b.dns);
    }
    return 0;
}
