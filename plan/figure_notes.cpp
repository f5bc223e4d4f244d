// SPDX-License-Identifier: Apache-2.0
#include "figure_notes.h"

#include <string_view>

#include "number_text.h"

namespace valdris {

std::string SizeCellText(const DesignFigures& figures) {
    const std::string n = std::to_string(figures.n);
    if (!figures.size_given) return n;
    if (!figures.n_designed) return n + " (given)";
    return n + " (given; designed " + std::to_string(*figures.n_designed) + ")";
}

// 1 - beta in double from the single beta, written as a person reads it
// (0.95, not 0.949999988079071).
std::string PowerTargetText(const DesignFigures& figures) {
    return WriteNumber(ToSingle(1.0 - static_cast<double>(figures.state.Beta)));
}

std::string CannotPassText(const DesignFigures& figures) {
    if (figures.can_pass) return {};
    if (!figures.smallest_passable_n) return "cannot pass";
    return "cannot pass (N \u2265 " + std::to_string(*figures.smallest_passable_n) + " needed)";
}

std::string PowerCellText(const DesignFigures& figures, const std::string& power) {
    if (!figures.can_pass) return power + ", " + CannotPassText(figures);
    if (!PowerBelowTarget(figures)) return power;
    return power + " (below " + PowerTargetText(figures) + ")";
}

std::string CsvFigureNoteTitles() { return "N Given,Designed N,Power Below Target"; }

std::string CsvFigureNotes(const DesignFigures& figures) {
    const std::string designed = figures.n_designed ? std::to_string(*figures.n_designed) : std::string();
    const std::string below = !figures.can_pass ? CannotPassText(figures) : PowerBelowTarget(figures) ? "yes" : "";
    return std::string(figures.size_given ? "given" : "") + "," + designed + "," + below;
}

std::string SpreadsheetSafe(const std::string& text) {
    if (text.empty() || std::string_view("=+-@").find(text.front()) == std::string_view::npos) return text;
    if (StrictNumber(text)) return text;
    return "'" + text;
}

}  // namespace valdris
