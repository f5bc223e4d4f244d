// SPDX-License-Identifier: Apache-2.0
#include "field_texts.h"

#include <charconv>

#include "concentration_unit.h"
#include "number_text.h"

namespace valdris {

std::string GridTypeCaption(GridType type) { return type == GridType::Triangular ? "Triangular" : "Square"; }

std::string LengthText(double value) { return FormatZeroPointZeroZero(value); }

std::vector<ReportLine> SampleLayoutLines(const SampleLayout& layout) {
    std::vector<ReportLine> lines = {
        {"Grid", GridTypeCaption(layout.type)},
        {"Spacing", LengthText(layout.spacing)},
        {"Seed", std::to_string(layout.seed)},
        {"Random start", "(" + LengthText(layout.start.x) + ", " + LengthText(layout.start.y) + ")"},
        {"Locations inside", std::to_string(layout.points.size()) + " of " + std::to_string(layout.samples)},
    };
    // Only a grid over a drawn boundary has these; a rectangle's lines stay as they were.
    if (!layout.boundary.crs.empty()) lines.push_back({"Reference system", layout.boundary.crs});
    if (layout.angle != 0) lines.push_back({"Grid angle", LengthText(layout.angle) + " degrees"});
    if (layout.added_points > 0) {
        lines.push_back({"Random points added", std::to_string(layout.added_points) + " (too few grid points fit)"});
    }
    return lines;
}

std::string MoreLocationsNote(const SampleLayout& layout) {
    if (!layout.MoreLocationsNeeded()) return {};
    return "More locations are needed: only " + std::to_string(layout.points.size()) + " of the " +
           std::to_string(layout.samples) + " samples fall inside the unit.";
}

std::string LocationsCsv(const SampleLayout& layout, std::optional<int> decimals) {
    std::string csv;
    StreamLocationsCsv(
        layout,
        [&csv](std::string_view piece) {
            csv += piece;
            return std::string();
        },
        decimals);
    return csv;
}

std::string StreamLocationsCsv(const SampleLayout& layout, const ByteSink& write, std::optional<int> decimals) {
    constexpr std::size_t kPiece = 1 << 16;
    constexpr std::size_t kLongestLine = 24 + 2 * kExactNumberRoom;  // id, two numbers, commas, line end
    std::string piece = "id,x,y\n";
    piece.reserve(kPiece + kLongestLine);
    char line[kLongestLine];
    for (std::size_t k = 0; k < layout.points.size(); ++k) {
        char* end = std::to_chars(line, line + 24, k + 1).ptr;
        *end++ = ',';
        const auto number = [&](char* at, double value) {
            // A coordinate too long for fixed decimals keeps its exact form.
            if (!decimals) return WriteExactNumber(at, value);
            const auto written = std::to_chars(at, at + kExactNumberRoom, value, std::chars_format::fixed, *decimals);
            return written.ec == std::errc() ? written.ptr : WriteExactNumber(at, value);
        };
        end = number(end, layout.points[k].x);
        *end++ = ',';
        end = number(end, layout.points[k].y);
        *end++ = '\n';
        piece.append(line, end);
        if (piece.size() < kPiece) continue;
        if (std::string failure = write(piece); !failure.empty()) return failure;
        piece.clear();
    }
    return write(piece);
}

std::vector<ReportLine> ElevatedAreaLines(const ElevatedAreaCheck& check, const std::string& unit) {
    std::vector<ReportLine> lines = {
        {"Area between samples", ReadableNumber(check.grid_area)},
        {"Area factor", ReadableNumber(check.area_factor)},
        {"DCGL_EMC", WithUnit(ReadableNumber(check.dcgl_emc), unit)},
        {"Scan MDC", WithUnit(ReadableNumber(check.scan_mdc), unit)},
        {"Scan MDC adequate", check.adequate ? "Yes" : "No"},
    };
    if (check.area_needed) lines.push_back({"Area for the scan MDC", LengthText(*check.area_needed)});
    if (check.n_ea) lines.push_back({"Samples for elevated areas", std::to_string(*check.n_ea)});
    lines.push_back({"Final sample size", std::to_string(check.n_final)});
    return lines;
}

std::vector<ReportLine> SumOfFractionsLines(const std::vector<Nuclide>& nuclides, const SumOfFractions& sum,
                                            const std::string& unit) {
    std::vector<ReportLine> lines;
    for (const Nuclide& nuclide : nuclides) {
        std::string value = "DCGL " + WithUnit(WriteNumber(nuclide.dcgl), unit) + ", sigma " +
                            WithUnit(WriteNumber(nuclide.sigma), unit);
        if (nuclide.concentration) value += ", concentration " + WithUnit(WriteNumber(*nuclide.concentration), unit);
        lines.push_back({nuclide.name, value});
    }
    lines.push_back({"Sigma (sum of fractions)", WriteNumber(ToSingle(sum.sigma))});
    if (sum.lbgr) lines.push_back({"LBGR (sum of fractions)", ReadableNumber(*sum.lbgr)});
    if (sum.gross_dcgl) lines.push_back({"Gross-activity DCGL", WithUnit(ReadableNumber(*sum.gross_dcgl), unit)});
    return lines;
}

}  // namespace valdris
