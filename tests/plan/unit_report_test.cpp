// SPDX-License-Identifier: Apache-2.0
// The unit of concentration: its rule, and every figure of a report that is
// a concentration carries it while the others do not. Then the sections a
// unit's report pages show beyond its design.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assessment_texts.h"
#include "concentration_unit.h"
#include "field_texts.h"
#include "unit_report.h"

namespace valdris {
namespace {

TEST(ConcentrationUnit, TakesShortPrintableTextAndRefusesTheRest) {
    const std::string control = "the unit of concentration holds a control character (a line break or a tab).";
    const std::string not_utf8 = "the unit of concentration is not UTF-8 text.";
    const std::string too_long = "the unit of concentration has more than 30 characters.";
    const struct {
        std::string text;
        std::string problem;  // empty: taken
    } cases[] = {
        {"", ""},
        {"Bq/kg", ""},
        {"dpm/100 cm\u00b2", ""},
        {std::string(30, 'x'), ""},
        {std::string(29, 'x') + "\u00b2", ""},  // characters, not bytes, are counted
        {std::string(31, 'x'), too_long},
        {"Bq/\tkg", control},
        {"Bq/kg\n", control},
        {"Bq\x7f", control},
        {"Bq\u0085kg", control},  // a C1 next line
        {"Bq\u2028kg", control},  // the line separator
        {"Bq\xff", not_utf8},
        {"Bq\xc3", not_utf8},          // cut off
        {"\xc0\xaf", not_utf8},        // an overlong "/"
        {"\xed\xa0\x80", not_utf8},    // a surrogate
        {"\xf4\x90\x80\x80", not_utf8},  // beyond U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConcentrationUnitProblem(c.text).value_or(""), c.problem) << c.text;
    }
}

DesignState Designed(TestKind test) { return *RunDesign(test, DesignInputs{}); }

std::string ValueOf(const std::vector<ReportLine>& lines, const std::string& label) {
    for (const ReportLine& line : lines) {
        if (line.label == label) return line.value;
    }
    return "(no " + label + ")";
}

TEST(ConcentrationUnit, FollowsEachConcentrationOfTheReportTexts) {
    ReportEntries entries = InputEntries("Cs-137", Designed(TestKind::Sign), "1");
    entries.concentration_unit = "Bq/kg";
    const DesignReport report = MakeDesignReport(TestKind::Sign, Designed(TestKind::Sign), entries);
    const AssessmentRun run = AssessData(TestKind::Sign, Designed(TestKind::Sign), {0.5, 1.5, 0.25}, {});
    const AssessmentTexts measured = MakeAssessmentTexts(*run, "Bq/kg");
    ElevatedAreaCheck check;
    check.dcgl_emc = 1.5;
    check.scan_mdc = 2.5;
    check.area_factor = 1.5;
    const std::vector<ReportLine> emc = ElevatedAreaLines(check, "Bq/kg");
    const std::vector<Nuclide> nuclides = {{"Co-60", 5, 0.5, 1}, {"Cs-137", 10, 2, 3}};
    const std::vector<ReportLine> sum = SumOfFractionsLines(nuclides, CombineNuclides(nuclides), "Bq/kg");
    const struct {
        const std::vector<ReportLine>& lines;
        std::string label, value;
    } cases[] = {
        {report.inputs, "Sigma", "0.5 Bq/kg"},
        {report.inputs, "DCGL", "1 Bq/kg"},
        {report.inputs, "LBGR", "0.5 Bq/kg"},
        {report.inputs, "Alpha", "0.05"},
        {report.inputs, "D/s", "1"},
        {measured.figures, "Survey Unit Mean", "0.75 Bq/kg"},
        {measured.figures, "Survey Unit Maximum", "1.5 Bq/kg"},
        {measured.figures, "S+ (Measurements Below the DCGL)", "2"},
        {measured.figures, "Critical Value", "3"},
        {emc, "DCGL_EMC", "1.5 Bq/kg"},
        {emc, "Scan MDC", "2.5 Bq/kg"},
        {emc, "Area factor", "1.5"},
        {sum, "Co-60", "DCGL 5 Bq/kg, sigma 0.5 Bq/kg, concentration 1 Bq/kg"},
        {sum, "Gross-activity DCGL", "8 Bq/kg"},
        {sum, "LBGR (sum of fractions)", "0.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(ValueOf(c.lines, c.label), c.value) << c.label;
    EXPECT_EQ(measured.investigate, std::vector<std::string>{"Measurement 2: 1.5 Bq/kg"});

    // Without a unit the texts are as the design window's report has them.
    const DesignReport plain = MakeDesignReport(TestKind::Sign, Designed(TestKind::Sign),
                                                InputEntries("Cs-137", Designed(TestKind::Sign), "1"));
    EXPECT_EQ(ValueOf(plain.inputs, "DCGL"), "1");
    EXPECT_EQ(DesignUnit("Bq/kg", true), "");
}

PlanEntry EntryOf(TestKind test, std::vector<double> survey, std::vector<double> reference, std::string unit = {}) {
    PlanUnit unit_in;
    unit_in.name = "Yard";
    unit_in.test = test;
    unit_in.survey_data = std::move(survey);
    unit_in.reference_data = std::move(reference);
    unit_in.concentration_unit = std::move(unit);
    return MakeEntry(unit_in, *ComputeUnit(unit_in));
}

std::vector<std::string> Titles(const std::vector<ReportSection>& sections) {
    std::vector<std::string> titles;
    for (const ReportSection& s : sections) titles.push_back(s.title);
    return titles;
}

TEST(UnitReport, SectionsFollowWhatTheUnitHolds) {
    const std::string verdict = "Assessment of the Measurements";
    std::vector<double> many(kMostListedValues + 100, 0.25);
    many[3] = 0.75;
    const struct {
        const char* what;
        PlanEntry entry;
        std::vector<std::string> titles;
        std::string lead;  // of the first section
        std::size_t listed_last;
        std::string note_last;
    } cases[] = {
        {"nothing measured", EntryOf(TestKind::Sign, {}, {}), {}, "", 0, ""},
        {"Sign, one above", EntryOf(TestKind::Sign, {0.5, 1.5, 0.25}, {}, "Bq/kg"),
         {verdict, "Measurements Above the DCGL, to Investigate (Bq/kg)", "Survey Unit Measurements (Bq/kg)"},
         "The survey unit fails: S+ = 2 does not exceed the critical value 3.", 3, ""},
        {"WRS without reference", EntryOf(TestKind::WRS, {0.5, 0.6}, {}),
         {verdict, "Survey Unit Measurements"}, "No verdict yet: The WRS test compares", 2, ""},
        {"WRS, both areas", EntryOf(TestKind::WRS, {0.1, 0.2, 0.3, 0.4}, {0, 0.1, 0.2, 0.3, 0.4}),
         {verdict, "Survey Unit Measurements", "Reference Area Measurements"},
         "The survey unit passes: W = 35 exceeds the critical value 32.", 5, ""},
        {"more than are listed", EntryOf(TestKind::Sign, many, {}),
         {verdict, "Survey Unit Measurements"}, "The survey unit passes", kMostListedValues,
         "The first 600 of 700 measurements are listed; the plan file holds them all."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ReportSection> sections = UnitReportSections(c.entry);
        EXPECT_EQ(Titles(sections), c.titles);
        if (sections.empty()) continue;
        ASSERT_FALSE(sections.front().lead.empty());
        EXPECT_EQ(sections.front().lead.front().rfind(c.lead, 0), 0u) << sections.front().lead.front();
        EXPECT_EQ(sections.back().listed.size(), c.listed_last);
        EXPECT_EQ(sections.back().listed_note, c.note_last);
    }
}

// A given N is said to be given, with the designed N beside it; a power
// short of 1 - beta is said; a designed N needs neither.
TEST(UnitReport, AGivenSizeIsSaidToBeGiven) {
    const struct {
        std::optional<int32_t> given;
        std::vector<std::string> lines;  // the section's values; none: no section
    } cases[] = {
        {std::nullopt, {}},
        {40, {"40 (given; designed 29)"}},
        {12, {"12 (given; designed 29)", "0.706, below 1 - beta = 0.95"}},
    };
    for (const auto& c : cases) {
        PlanUnit unit;
        unit.name = "Yard";
        unit.given_n = c.given;
        const std::vector<ReportSection> sections = UnitReportSections(MakeEntry(unit, *ComputeUnit(unit)));
        std::vector<std::string> lines;
        if (!sections.empty() && sections.front().title == "Sample Size") {
            for (const ReportLine& line : sections.front().lines) lines.push_back(line.value);
        }
        EXPECT_EQ(lines, c.lines);
    }
}

}  // namespace
}  // namespace valdris
