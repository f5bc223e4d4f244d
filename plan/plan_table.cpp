// SPDX-License-Identifier: Apache-2.0
#include "plan_table.h"

#include <charconv>
#include <cmath>

#include "field_texts.h"
#include "figure_notes.h"
#include "number_text.h"
#include "plan_file.h"
#include "result_texts.h"
#include "text_forms.h"

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

std::string Exact(double value) { return RoundTripNumber(value); }
std::string Exact(float value) { return RoundTripNumber(value); }
std::string ExactOrEmpty(const std::optional<double>& value) { return value ? RoundTripNumber(*value) : std::string(); }

// One column: its title, the field an edit of it changes, the cell as shown,
// its exact form for the CSV (none: the shown text, made safe and quoted as
// CSV needs) and the stored number a sort orders by (none for a text column;
// a sort makes millions of these, so never the text read back).
struct ColumnRow {
    const char* title;
    std::optional<PlanField> edits;
    std::string (*shown)(const PlanEntry& entry);
    std::string (*exact)(const PlanEntry& entry);
    std::optional<double> (*number)(const PlanEntry& entry);
};

using E = const PlanEntry&;
using Number = std::optional<double>;
const ColumnRow kColumns[kPlanColumnCount] = {
    {"Name", PlanField::Name, [](E e) { return e.unit.name; }, nullptr, nullptr},
    {"Radionuclide", PlanField::Radionuclide, [](E e) { return RadionuclideText(e.unit); }, nullptr, nullptr},
    {"Test", PlanField::Test, [](E e) { return TestCell(e.unit.test); }, nullptr, nullptr},
    {"Alpha", PlanField::Alpha, [](E e) { return WriteNumber(e.unit.alpha); }, [](E e) { return Exact(e.unit.alpha); },
     [](E e) -> Number { return e.unit.alpha; }},
    {"Beta", PlanField::Beta, [](E e) { return WriteNumber(e.unit.beta); }, [](E e) { return Exact(e.unit.beta); },
     [](E e) -> Number { return e.unit.beta; }},
    {"Sigma", PlanField::Sigma, [](E e) { return WriteNumber(ShownInputsOf(e.unit).sigma); },
     [](E e) { return Exact(ShownInputsOf(e.unit).sigma); }, [](E e) -> Number { return ShownInputsOf(e.unit).sigma; }},
    {"DCGL", PlanField::DCGL, [](E e) { return WriteNumber(ShownInputsOf(e.unit).dcgl); },
     [](E e) { return Exact(ShownInputsOf(e.unit).dcgl); }, [](E e) -> Number { return ShownInputsOf(e.unit).dcgl; }},
    {"LBGR", PlanField::LBGR, [](E e) { return ReadableNumber(ShownInputsOf(e.unit).lbgr); },
     [](E e) { return Exact(ShownInputsOf(e.unit).lbgr); }, [](E e) -> Number { return ShownInputsOf(e.unit).lbgr; }},
    {"D/s", std::nullopt, [](E e) { return WriteNumber(RoundHalfEven(e.figures.state.DoverS, 2)); },
     [](E e) { return Exact(e.figures.state.DoverS); }, [](E e) -> Number { return e.figures.state.DoverS; }},
    {"N (Survey Unit)", PlanField::GivenN, [](E e) { return SizeCellText(e.figures); },
     [](E e) { return std::to_string(e.figures.n); }, [](E e) -> Number { return e.figures.n; }},
    {"N (Reference Area)", std::nullopt,
     [](E e) { return e.unit.test == TestKind::WRS ? std::to_string(e.figures.n_reference) : std::string(); }, nullptr,
     [](E e) -> Number {
         if (e.unit.test == TestKind::Sign) return std::nullopt;
         return e.figures.n_reference;
     }},
    {"Critical Value", std::nullopt, [](E e) { return WithoutLeadingBlank(CriticalValueText(e.unit.test, e.figures.state)); },
     [](E e) { return Exact(e.figures.critical_value); }, [](E e) -> Number { return e.figures.critical_value; }},
    {"Power at LBGR", std::nullopt,
     [](E e) { return PowerCellText(e.figures, Fixed(e.figures.power_at_lbgr, kPowerDecimals)); },
     [](E e) { return Exact(e.figures.power_at_lbgr); }, [](E e) -> Number { return e.figures.power_at_lbgr; }},
    {"Cost", std::nullopt, [](E e) { return e.figures.cost ? WriteNumber(*e.figures.cost) : std::string(); },
     [](E e) { return ExactOrEmpty(e.figures.cost); }, [](E e) { return e.figures.cost; }},
    {"Final N", std::nullopt, [](E e) { return e.unit.field.size ? std::to_string(e.figures.final_n) : std::string(); },
     nullptr,
     [](E e) -> Number {
         if (!e.unit.field.size) return std::nullopt;
         return e.field.samples;
     }},
    {"Spacing", std::nullopt,
     [](E e) {
         const std::optional<double> spacing = SpacingOf(e);
         return spacing ? LengthText(*spacing) : std::string();
     },
     [](E e) { return ExactOrEmpty(SpacingOf(e)); }, [](E e) { return SpacingOf(e); }},
};

const ColumnRow& Row(PlanColumn column) { return kColumns[static_cast<int>(column)]; }

// The CSV's exact form of a cell: the shortest text that reads back to the
// stored value (a single as the single).
std::string ExactCell(const PlanEntry& entry, PlanColumn column) {
    const ColumnRow& row = Row(column);
    return row.exact ? row.exact(entry) : CsvField(SpreadsheetSafe(row.shown(entry)));
}

}  // namespace

std::string ColumnTitle(PlanColumn column) { return Row(column).title; }

std::optional<PlanField> EditedField(PlanColumn column) { return Row(column).edits; }

std::string CellText(const PlanEntry& entry, PlanColumn column) { return Row(column).shown(entry); }

// An empty cell (a Sign test's reference area, no cost, no size yet) has no
// number.
std::optional<double> CellNumber(const PlanEntry& entry, PlanColumn column) {
    const ColumnRow& row = Row(column);
    return row.number ? row.number(entry) : std::nullopt;
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

void WritePlanCsv(const SurveyPlan& plan, const std::function<void(std::string_view row)>& put) {
    std::string row;
    for (int c = 0; c < kPlanColumnCount; ++c) row += (c ? "," : "") + CsvField(ColumnTitle(PlanColumn(c)));
    row += "," + CsvFigureNoteTitles() + '\n';
    put(row);
    for (const PlanEntry& entry : plan.entries()) {
        row.clear();
        for (int c = 0; c < kPlanColumnCount; ++c) {
            if (c) row += ',';
            row += ExactCell(entry, PlanColumn(c));
        }
        row += ',';
        row += CsvFigureNotes(entry.figures);
        row += '\n';
        put(row);
    }
}

std::string PlanAsCsv(const SurveyPlan& plan) {
    std::string csv;
    WritePlanCsv(plan, [&csv](std::string_view row) { csv += row; });
    return csv;
}

std::string PlanRowsAsText(const SurveyPlan& plan, const std::vector<std::size_t>& rows) {
    const auto cell = [](std::string text) {
        for (char& c : text) {
            if (c == '\t' || c == '\n' || c == '\r') c = ' ';
        }
        return text;
    };
    std::string text;
    for (int c = 0; c < kPlanColumnCount; ++c) text += (c ? "\t" : "") + ColumnTitle(PlanColumn(c));
    text += '\n';
    for (const std::size_t row : rows) {
        if (row >= plan.size()) continue;
        for (int c = 0; c < kPlanColumnCount; ++c) text += (c ? "\t" : "") + cell(SpreadsheetSafe(CellText(plan.entry(row), PlanColumn(c))));
        text += '\n';
    }
    return text;
}

}  // namespace valdris
