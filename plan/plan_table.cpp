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

// The CSV's exact form of a cell: the shortest text that reads back to the
// stored value (a single as the single).
std::string ExactCell(const PlanEntry& entry, PlanColumn column) {
    const PlanUnit& unit = entry.unit;
    const DesignFigures& figures = entry.figures;
    switch (column) {
        case PlanColumn::Alpha: return RoundTripNumber(unit.alpha);
        case PlanColumn::Beta: return RoundTripNumber(unit.beta);
        case PlanColumn::Sigma: return RoundTripNumber(ShownInputsOf(unit).sigma);
        case PlanColumn::DCGL: return RoundTripNumber(ShownInputsOf(unit).dcgl);
        case PlanColumn::LBGR: return RoundTripNumber(ShownInputsOf(unit).lbgr);
        case PlanColumn::DoverS: return RoundTripNumber(figures.state.DoverS);
        case PlanColumn::CriticalValue: return RoundTripNumber(figures.critical_value);
        case PlanColumn::N: return std::to_string(figures.n);
        case PlanColumn::PowerAtLBGR: return RoundTripNumber(figures.power_at_lbgr);
        case PlanColumn::Cost: return figures.cost ? RoundTripNumber(*figures.cost) : std::string();
        case PlanColumn::Spacing: {
            const std::optional<double> spacing = SpacingOf(entry);
            return spacing ? RoundTripNumber(*spacing) : std::string();
        }
        default: return CsvField(SpreadsheetSafe(CellText(entry, column)));
    }
}

}  // namespace

std::string ColumnTitle(PlanColumn column) {
    switch (column) {
        case PlanColumn::Name: return "Name";
        case PlanColumn::Radionuclide: return "Radionuclide";
        case PlanColumn::Test: return "Test";
        case PlanColumn::Alpha: return "Alpha";
        case PlanColumn::Beta: return "Beta";
        case PlanColumn::Sigma: return "Sigma";
        case PlanColumn::DCGL: return "DCGL";
        case PlanColumn::LBGR: return "LBGR";
        case PlanColumn::DoverS: return "D/s";
        case PlanColumn::N: return "N (Survey Unit)";
        case PlanColumn::NReference: return "N (Reference Area)";
        case PlanColumn::CriticalValue: return "Critical Value";
        case PlanColumn::PowerAtLBGR: return "Power at LBGR";
        case PlanColumn::Cost: return "Cost";
        case PlanColumn::FinalN: return "Final N";
        case PlanColumn::Spacing: return "Spacing";
    }
    return {};
}

std::optional<PlanField> EditedField(PlanColumn column) {
    switch (column) {
        case PlanColumn::Name: return PlanField::Name;
        case PlanColumn::Radionuclide: return PlanField::Radionuclide;
        case PlanColumn::Test: return PlanField::Test;
        case PlanColumn::Alpha: return PlanField::Alpha;
        case PlanColumn::Beta: return PlanField::Beta;
        case PlanColumn::Sigma: return PlanField::Sigma;
        case PlanColumn::DCGL: return PlanField::DCGL;
        case PlanColumn::LBGR: return PlanField::LBGR;
        case PlanColumn::N: return PlanField::GivenN;
        default: return std::nullopt;
    }
}

std::string CellText(const PlanEntry& entry, PlanColumn column) {
    const PlanUnit& unit = entry.unit;
    const DesignFigures& figures = entry.figures;
    switch (column) {
        case PlanColumn::Name: return unit.name;
        case PlanColumn::Radionuclide: return RadionuclideText(unit);
        case PlanColumn::Test: return TestCell(unit.test);
        case PlanColumn::Alpha: return WriteNumber(unit.alpha);
        case PlanColumn::Beta: return WriteNumber(unit.beta);
        case PlanColumn::Sigma: return WriteNumber(ShownInputsOf(unit).sigma);
        case PlanColumn::DCGL: return WriteNumber(ShownInputsOf(unit).dcgl);
        case PlanColumn::LBGR: return ReadableNumber(ShownInputsOf(unit).lbgr);
        case PlanColumn::DoverS: return WriteNumber(RoundHalfEven(figures.state.DoverS, 2));
        case PlanColumn::N: return SizeCellText(figures);
        case PlanColumn::NReference: return unit.test == TestKind::WRS ? std::to_string(figures.n_reference) : "";
        case PlanColumn::CriticalValue: return WithoutLeadingBlank(CriticalValueText(unit.test, figures.state));
        case PlanColumn::PowerAtLBGR: return PowerCellText(figures, Fixed(figures.power_at_lbgr, kPowerDecimals));
        case PlanColumn::Cost: return figures.cost ? WriteNumber(*figures.cost) : std::string();
        case PlanColumn::FinalN: return unit.field.size ? std::to_string(figures.final_n) : std::string();
        case PlanColumn::Spacing: {
            const std::optional<double> spacing = SpacingOf(entry);
            return spacing ? LengthText(*spacing) : std::string();
        }
    }
    return {};
}

// The stored values themselves, never their texts read back: a sort makes
// millions of these. A single goes in whole, which keeps the order of the
// shortest texts that read back to it.
std::optional<double> CellNumber(const PlanEntry& entry, PlanColumn column) {
    const PlanUnit& unit = entry.unit;
    const DesignFigures& figures = entry.figures;
    switch (column) {
        case PlanColumn::Name:
        case PlanColumn::Radionuclide:
        case PlanColumn::Test: return std::nullopt;
        case PlanColumn::Alpha: return unit.alpha;
        case PlanColumn::Beta: return unit.beta;
        case PlanColumn::Sigma: return ShownInputsOf(unit).sigma;
        case PlanColumn::DCGL: return ShownInputsOf(unit).dcgl;
        case PlanColumn::LBGR: return ShownInputsOf(unit).lbgr;
        case PlanColumn::DoverS: return figures.state.DoverS;
        case PlanColumn::N: return figures.n;
        case PlanColumn::NReference:
            if (unit.test == TestKind::Sign) return std::nullopt;
            return figures.n_reference;
        case PlanColumn::CriticalValue: return figures.critical_value;
        case PlanColumn::PowerAtLBGR: return figures.power_at_lbgr;
        case PlanColumn::Cost: return figures.cost;
        case PlanColumn::FinalN:
            if (!unit.field.size) return std::nullopt;
            return entry.field.samples;
        case PlanColumn::Spacing: return SpacingOf(entry);
    }
    return std::nullopt;
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
    csv += "," + CsvFigureNoteTitles() + '\n';
    for (const PlanEntry& entry : plan.entries()) {
        for (int c = 0; c < kPlanColumnCount; ++c) csv += (c ? "," : "") + ExactCell(entry, PlanColumn(c));
        csv += "," + CsvFigureNotes(entry.figures) + '\n';
    }
    return csv;
}

}  // namespace valdris
