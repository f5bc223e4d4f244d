// SPDX-License-Identifier: Apache-2.0
#include "plan_table.h"

#include <charconv>
#include <cmath>

#include "field_texts.h"
#include "number_text.h"
#include "plan_file.h"
#include "result_texts.h"

namespace valdris {
namespace {

constexpr int kPowerDecimals = 4;

std::string Fixed(double value, int decimals) {
    char buffer[64];
    return std::string(buffer,
                       std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr);
}

std::string WithoutLeadingBlank(std::string text) {
    if (!text.empty() && text.front() == ' ') text.erase(0, 1);
    return text;
}

std::string TestCell(TestKind test) { return test == TestKind::Sign ? "Sign" : "WRS"; }

// The spacing of the unit's grid for its final N, once it has a size.
std::optional<double> SpacingOf(const PlanEntry& entry) {
    const std::optional<UnitSize>& size = entry.unit.field.size;
    if (!size) return std::nullopt;
    return GridSpacing(entry.unit.field.grid, size->area, entry.field.samples);
}

// The inputs the design runs with (with radionuclides, not the unit's own);
// sigma as the single the design stores.
struct ShownInputs {
    float sigma;
    double dcgl;
    double lbgr;
};
ShownInputs ShownInputsOf(const PlanUnit& unit) {
    const DesignInputs inputs = InputsOf(unit);
    return {unit.nuclides.empty() ? unit.sigma : ToSingle(inputs.sigma), inputs.dcgl, inputs.lbgr};
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Exact(double value) { return RoundTripNumber(value); }
std::string Exact(float value) { return RoundTripNumber(value); }
std::string ExactOrEmpty(const std::optional<double>& value) { return value ? RoundTripNumber(*value) : std::string(); }

// One column: its title, the field an edit of it changes, the cell as shown,
// and its exact form for the CSV (none: the shown text, quoted as CSV needs;
// a text column has no number to sort by).
struct ColumnRow {
    const char* title;
    std::optional<PlanField> edits;
    bool text;
    std::string (*shown)(const PlanEntry& entry);
    std::string (*exact)(const PlanEntry& entry);
};

using E = const PlanEntry&;
const ColumnRow kColumns[kPlanColumnCount] = {
    {"Name", PlanField::Name, true, [](E e) { return e.unit.name; }, nullptr},
    {"Radionuclide", PlanField::Radionuclide, true, [](E e) { return e.unit.radionuclide; }, nullptr},
    {"Test", PlanField::Test, true, [](E e) { return TestCell(e.unit.test); }, nullptr},
    {"Alpha", PlanField::Alpha, false, [](E e) { return WriteNumber(e.unit.alpha); },
     [](E e) { return Exact(e.unit.alpha); }},
    {"Beta", PlanField::Beta, false, [](E e) { return WriteNumber(e.unit.beta); }, [](E e) { return Exact(e.unit.beta); }},
    {"Sigma", PlanField::Sigma, false, [](E e) { return WriteNumber(ShownInputsOf(e.unit).sigma); },
     [](E e) { return Exact(ShownInputsOf(e.unit).sigma); }},
    {"DCGL", PlanField::DCGL, false, [](E e) { return WriteNumber(ShownInputsOf(e.unit).dcgl); },
     [](E e) { return Exact(ShownInputsOf(e.unit).dcgl); }},
    {"LBGR", PlanField::LBGR, false, [](E e) { return WriteNumber(ShownInputsOf(e.unit).lbgr); },
     [](E e) { return Exact(ShownInputsOf(e.unit).lbgr); }},
    {"D/s", std::nullopt, false, [](E e) { return WriteNumber(RoundHalfEven(e.figures.state.DoverS, 2)); },
     [](E e) { return Exact(e.figures.state.DoverS); }},
    {"N (Survey Unit)", PlanField::GivenN, false, [](E e) { return std::to_string(e.figures.n); }, nullptr},
    {"N (Reference Area)", std::nullopt, false,
     [](E e) { return e.unit.test == TestKind::WRS ? std::to_string(e.figures.n_reference) : std::string(); }, nullptr},
    {"Critical Value", std::nullopt, false,
     [](E e) { return WithoutLeadingBlank(CriticalValueText(e.unit.test, e.figures.state)); },
     [](E e) { return Exact(e.figures.critical_value); }},
    {"Power at LBGR", std::nullopt, false, [](E e) { return Fixed(e.figures.power_at_lbgr, kPowerDecimals); },
     [](E e) { return Exact(e.figures.power_at_lbgr); }},
    {"Cost", std::nullopt, false, [](E e) { return e.figures.cost ? WriteNumber(*e.figures.cost) : std::string(); },
     [](E e) { return ExactOrEmpty(e.figures.cost); }},
    {"Final N", std::nullopt, false,
     [](E e) { return e.unit.field.size ? std::to_string(e.field.samples) : std::string(); }, nullptr},
    {"Spacing", std::nullopt, false,
     [](E e) {
         const std::optional<double> spacing = SpacingOf(e);
         return spacing ? LengthText(*spacing) : std::string();
     },
     [](E e) { return ExactOrEmpty(SpacingOf(e)); }},
};

const ColumnRow& Row(PlanColumn column) { return kColumns[static_cast<int>(column)]; }

// The CSV's exact form of a cell: the shortest text that reads back to the
// stored value (a single as the single).
std::string ExactCell(const PlanEntry& entry, PlanColumn column) {
    const ColumnRow& row = Row(column);
    return row.exact ? row.exact(entry) : CsvField(row.shown(entry));
}

}  // namespace

std::string ColumnTitle(PlanColumn column) { return Row(column).title; }

std::optional<PlanField> EditedField(PlanColumn column) { return Row(column).edits; }

std::string CellText(const PlanEntry& entry, PlanColumn column) { return Row(column).shown(entry); }

// An empty cell (a Sign test's reference area, no cost, no size yet) reads
// as no number.
std::optional<double> CellNumber(const PlanEntry& entry, PlanColumn column) {
    if (Row(column).text) return std::nullopt;
    return StrictNumber(ExactCell(entry, column));
}

ReportEntries UnitReportEntries(const PlanEntry& entry) {
    auto cell = [&](PlanColumn column) { return CellText(entry, column); };
    // With radionuclides the design ran in sums of fractions: its own inputs
    // are shown, as the companion's report shows them, without a unit.
    if (!entry.unit.nuclides.empty()) {
        return InputEntries(RadionuclideText(entry.unit), entry.figures.state, cell(PlanColumn::DoverS));
    }
    return {entry.unit.radionuclide, cell(PlanColumn::Alpha), cell(PlanColumn::Beta), cell(PlanColumn::Sigma),
            cell(PlanColumn::DCGL), cell(PlanColumn::LBGR), cell(PlanColumn::DoverS), entry.unit.concentration_unit};
}

std::string PlanAsCsv(const SurveyPlan& plan) {
    std::string csv;
    for (int c = 0; c < kPlanColumnCount; ++c) csv += (c ? "," : "") + CsvField(ColumnTitle(PlanColumn(c)));
    csv += '\n';
    for (const PlanEntry& entry : plan.entries()) {
        for (int c = 0; c < kPlanColumnCount; ++c) csv += (c ? "," : "") + ExactCell(entry, PlanColumn(c));
        csv += '\n';
    }
    return csv;
}

}  // namespace valdris
