// SPDX-License-Identifier: Apache-2.0
#pragma once
// What a report of one design says, as text: the inputs as the window shows
// them, the results, the rule a survey is judged by, the power at the chart's
// labelled concentrations and how each figure was computed. The report page,
// the copied results and the companion's report all take their words from
// here, so none of them can disagree with the window.

#include <string>
#include <vector>

#include "design_inputs.h"
#include "design_state.h"

namespace valdris {

// The inputs as the window shows them (the texts of its boxes and of the
// D/s label), for the test whose results are shown.
struct ReportEntries {
    std::string radionuclide;
    std::string alpha;
    std::string beta;
    std::string sigma;
    std::string dcgl;
    std::string lbgr;
    std::string shift;  // the number after "D/s = "
    // Written after sigma, the DCGL and the LBGR ("0.5 Bq/kg"); the design
    // window names none.
    std::string concentration_unit = {};
};

struct ReportLine {
    std::string label;
    std::string value;
};

struct DesignReport {
    std::string radionuclide;
    std::vector<ReportLine> inputs;   // test, alpha, beta, sigma, DCGL, LBGR, D/s
    std::vector<ReportLine> results;  // sample sizes and the critical value
    std::string decision_rule;        // one sentence
    std::vector<ReportLine> power;    // "10%" .. "150%" and the pass probability
    std::vector<ReportLine> method;   // what was computed how
};

// The heading of the test's column of the power table and of the chart.
inline const std::string kPassProbabilityTitle = "Probability that the Survey Unit Passes";

// The inputs of the design in the state as every report writes them (see
// PlainNumber), whatever form they were typed in; shift is the D/s number
// shown beside the results.
ReportEntries InputEntries(const std::string& radionuclide, const DesignSummary& state, const std::string& shift);

// The report of a finished design (one the window shows or the companion ran).
DesignReport MakeDesignReport(TestKind test, const DesignState& state, const ReportEntries& entries);

// The inputs, the results and the power table as "label<TAB>value" lines,
// which a spreadsheet takes as a two-column table.
std::string ReportAsTabSeparated(const DesignReport& report);

}  // namespace valdris
