#pragma once

#include "ExpectedSettings.h"

#include <string>
#include <string_view>
#include <vector>

// A set-up plan: one row per device with the settings it is to get, as a technician keeps it in
// a spreadsheet. Read whole and checked whole before anything is sent, so that a mistake in the
// last row cannot leave half a fleet moved.
//
// CSV with a header row naming the columns (any order, any case): mac, assignment ("dhcp" or
// "fixed"), address, mask, gateway, dns, port. A dhcp row needs only mac and port; its other
// values are neither sent nor checked. Lines starting with "#" are comments. A spreadsheet's
// own saving is read too: a UTF-8 byte order mark, CR LF line ends, ";" between the fields,
// fields in quotes.
struct PlanRow {
    int line = 0; // the line the row starts on, counted from 1
    std::string mac;
    // dhcp and port always; address, mask, gateway and dns on fixed rows, written as
    // DottedQuadText writes them.
    ExpectedSettings settings;
};

struct PlanProblem {
    int line = 0; // 0: the plan as a whole
    std::string text;
};

class SetupPlan final {
public:
    // Every problem is listed, not just the first, so that one round of corrections suffices.
    static SetupPlan Read(std::string_view text);
    // The columns, in the order `hoptrace-cli list --plan` writes them.
    static const std::vector<std::string>& Columns();

    // In line order; nothing is to be sent unless problems() is empty.
    const std::vector<PlanRow>& rows() const { return rows_; }
    const std::vector<PlanProblem>& problems() const { return problems_; }

private:
    std::vector<PlanRow> rows_;
    std::vector<PlanProblem> problems_;
};
