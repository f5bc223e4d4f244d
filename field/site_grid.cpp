// SPDX-License-Identifier: Apache-2.0
#include "site_grid.h"

#include <cmath>

#include "number_text.h"

namespace valdris {

namespace {

struct ShortfallRow {
    Shortfall shortfall;
    const char* name;
};
constexpr ShortfallRow kShortfalls[] = {{Shortfall::AddRandom, "random"}, {Shortfall::TightenSpacing, "tighten"}};

}  // namespace

const char* ShortfallName(Shortfall shortfall) {
    for (const ShortfallRow& row : kShortfalls) {
        if (row.shortfall == shortfall) return row.name;
    }
    return kShortfalls[0].name;
}

std::optional<Shortfall> ShortfallFromName(const std::string& name) {
    for (const ShortfallRow& row : kShortfalls) {
        if (name == row.name) return row.shortfall;
    }
    return std::nullopt;
}

Outcome<double> CheckedGridAngle(double degrees) {
    if (!(std::abs(degrees) <= kLargestGridAngle)) {
        return Outcome<double>::Failure(RefusalKind::GridAngleUnusable,
                                        "The grid angle must be a number of degrees from -360 to 360.");
    }
    return degrees;
}

Outcome<GridPoint> ReadOrigin(std::string_view text) {
    const auto refused = [] {
        return Outcome<GridPoint>::Failure(RefusalKind::OriginUnusable,
                                           "The grid's origin must be two numbers X,Y in the unit's coordinates.");
    };
    std::size_t split = text.find(',');
    if (split == std::string_view::npos) split = text.find(' ', text.find_first_not_of(' '));
    if (split == std::string_view::npos) return refused();
    const auto x = StrictNumber(text.substr(0, split));
    const auto y = StrictNumber(text.substr(split + 1));
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y) || std::abs(*x) > 1e15 || std::abs(*y) > 1e15) {
        return refused();
    }
    return GridPoint{*x, *y};
}

}  // namespace valdris
