// SPDX-License-Identifier: Apache-2.0
#include "design_report.h"

#include <algorithm>
#include <array>

#include "checked_design.h"
#include "concentration_unit.h"
#include "number_text.h"
#include "result_texts.h"
#include "valdris_power.h"

namespace valdris {
namespace {


std::string Count(int value) { return std::to_string(value); }

// The sign position is a blank the window's label shows as nothing.
std::string WithoutSignBlank(std::string text) {
    if (!text.empty() && text.front() == ' ') text.erase(0, 1);
    return text;
}


std::string SignDecisionRule(const std::string& n, const std::string& cv) {
    return "The survey unit passes when more than " + cv + " of its " + n +
           " measurements lie below the DCGL: the Sign test statistic S+, the number of measurements below "
           "the DCGL, must exceed the critical value " + cv + ".";
}

std::string WRSDecisionRule(const std::string& n, const std::string& cv) {
    return "The survey unit passes when the rank sum W exceeds " + cv + ": add the DCGL to each of the " + n +
           " reference-area measurements, rank them together with the " + n +
           " survey-unit measurements, and W is the sum of the ranks of the reference-area measurements.";
}

std::vector<ReportLine> SignMethod(int n) {
    std::vector<ReportLine> method;
    method.push_back({"Sample size",
                      "N = (z(1\u2212\u03b1) + z(1\u2212\u03b2))\u00b2 / (4 (p \u2212 0.5)\u00b2), where "
                      "p = \u03a6(\u0394/\u03c3) is the probability that a measurement lies below the DCGL "
                      "when the survey unit is at the LBGR; rounded up, then increased by 20 % and rounded "
                      "up again."});
    const std::string below = std::to_string(kSignExactCriticalValueBelow);
    const std::string up_to = std::to_string(kSignExactPowerUpTo);
    if (n < kSignExactCriticalValueBelow) {
        method.push_back({"Critical value",
                          "Exact binomial distribution (N below " + below + "): the smallest count k for which the "
                          "probability of at most k measurements below the DCGL exceeds 1 \u2212 \u03b1 "
                          "when the survey unit is at the DCGL."});
    } else {
        method.push_back({"Critical value",
                          "Normal approximation to the binomial distribution (N of " + below + " or more): "
                          "N/2 + z(1\u2212\u03b1) \u221aN/2, rounded to the nearest whole number."});
    }
    if (n <= kSignExactPowerUpTo) {
        method.push_back({"Power curve", "Exact binomial distribution (N of " + up_to + " or less)."});
    } else {
        method.push_back({"Power curve",
                          "Normal approximation to the binomial distribution, without continuity "
                          "correction (N above " + up_to + ")."});
    }
    return method;
}

std::vector<ReportLine> WRSMethod(int n) {
    std::vector<ReportLine> method;
    method.push_back({"Sample size",
                      "In each area 0.6 (z(1\u2212\u03b1) + z(1\u2212\u03b2))\u00b2 / (3 (Pr \u2212 0.5)\u00b2), "
                      "that is half of the total size increased by 20 %, rounded up, where "
                      "Pr = \u03a6(0.707 \u0394/\u03c3) is the probability that a survey-unit measurement "
                      "lies below a reference-area measurement increased by the DCGL when the survey unit "
                      "is at the LBGR."});
    const std::string limit = std::to_string(kWRSExactSizeLimit);
    if (n <= kWRSExactSizeLimit) {
        method.push_back({"Critical value",
                          "Exact distribution of the rank sum (" + limit + " or fewer measurements in each area): the "
                          "value W exceeds with a probability below \u03b1 when the survey unit is at the "
                          "DCGL."});
    } else {
        method.push_back({"Critical value",
                          "Normal approximation of the rank sum (more than " + limit + " measurements in each area): "
                          "m(m + n + 1)/2 + z(1\u2212\u03b1) \u221a(mn(m + n + 1)/12) with m and n the sizes "
                          "of the reference area and the survey unit, of which the whole-number part is "
                          "shown."});
    }
    method.push_back({"Power curve",
                      "Normal approximation of the rank sum with continuity correction; its variance "
                      "uses the bivariate normal probability that a reference-area measurement increased "
                      "by the DCGL exceeds two survey-unit measurements."});
    return method;
}

std::vector<ReportLine> PowerTable(const DesignState& state) {
    std::vector<ReportLine> rows;
    for (const int tenths : kLabelledTenths) {
        const int point = tenths * kCurvePointsPerTenth;
        rows.push_back({FormatPercent(tenths * 0.1), ProbabilityText(state.CurvePower[point])});
    }
    return rows;
}

// A label or value on one line of its own cell.
std::string OneCell(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

ReportEntries InputEntries(const std::string& radionuclide, const DesignSummary& state, const std::string& shift) {
    return {radionuclide,           PlainNumber(state.Alpha), PlainNumber(state.Beta), PlainNumber(state.Sigma),
            PlainNumber(state.DCGL), PlainNumber(state.LBGR),  shift, {}};
}

DesignReport MakeDesignReport(TestKind test, const DesignState& state, const ReportEntries& entries) {
    DesignReport report;
    report.radionuclide = entries.radionuclide;
    report.inputs = {
        {"Statistical Test", TestCaption(test)},
        {"Alpha", entries.alpha},
        {"Beta", entries.beta},
        {"Sigma", WithUnit(entries.sigma, entries.concentration_unit)},
        {"DCGL", WithUnit(entries.dcgl, entries.concentration_unit)},
        {"LBGR", WithUnit(entries.lbgr, entries.concentration_unit)},
        {"D/s", entries.shift},
    };

    const int size = SampleSize(test, state);
    const std::string n = Count(size);
    const std::string cv = WithoutSignBlank(CriticalValueText(test, state));
    report.results.push_back({"Survey Unit Sample Size", n});
    if (test == TestKind::WRS) report.results.push_back({"Reference Area Sample Size", n});
    report.results.push_back({kCriticalValueTitle, cv});

    report.decision_rule = test == TestKind::Sign ? SignDecisionRule(n, cv) : WRSDecisionRule(n, cv);
    if (!CanPass(test, state)) {
        report.decision_rule += " " + CannotPassNote(test, state.Alpha, SmallestPassableN(test, state.Alpha));
    }
    report.power = PowerTable(state);
    report.method = test == TestKind::Sign ? SignMethod(size) : WRSMethod(size);
    return report;
}

std::string ReportAsTabSeparated(const DesignReport& report) {
    std::string text;
    auto line = [&](const std::string& label, const std::string& value) {
        text += OneCell(label) + '\t' + OneCell(value) + '\n';
    };
    line("Radionuclide", report.radionuclide);
    for (const ReportLine& input : report.inputs) line(input.label, input.value);
    for (const ReportLine& result : report.results) line(result.label, result.value);
    for (const ReportLine& point : report.power) line("Power at " + point.label + " of DCGL", point.value);
    return text;
}

}  // namespace valdris
