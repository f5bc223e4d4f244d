// SPDX-License-Identifier: Apache-2.0
#include "field_text_input.h"

#include <string>

#include "number_text.h"
#include "text_forms.h"

namespace valdris {

namespace {

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find_first_of(separators);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return parts;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

std::optional<AreaFactorTable> ParseAreaFactors(std::string_view text) {
    AreaFactorTable table;
    for (const std::string_view pair : Split(text, ",")) {
        const std::vector<std::string_view> parts = Split(pair, ":");
        if (parts.size() != 2) return std::nullopt;
        const auto area = StrictNumber(parts[0]);
        const auto factor = StrictNumber(parts[1]);
        if (!area || !factor) return std::nullopt;
        table.push_back({*area, *factor});
    }
    return table;
}

std::optional<Nuclide> ParseNuclide(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ":");
    if (parts.size() != 3 && parts.size() != 4) return std::nullopt;
    const auto dcgl = StrictNumber(parts[1]);
    const auto sigma = StrictNumber(parts[2]);
    if (!dcgl || !sigma) return std::nullopt;
    Nuclide nuclide{Trimmed(parts[0]), *dcgl, *sigma, std::nullopt};
    if (parts.size() == 4) {
        nuclide.concentration = StrictNumber(parts[3]);
        if (!nuclide.concentration) return std::nullopt;
    }
    return nuclide;
}

std::optional<std::vector<Nuclide>> ParseNuclideList(std::string_view text) {
    std::vector<Nuclide> nuclides;
    for (const std::string_view entry : Split(text, ";\n")) {
        if (Trimmed(entry).empty()) continue;
        auto nuclide = ParseNuclide(entry);
        if (!nuclide) return std::nullopt;
        nuclides.push_back(std::move(*nuclide));
    }
    return nuclides;
}

}  // namespace valdris
