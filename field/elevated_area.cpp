// SPDX-License-Identifier: Apache-2.0
#include "elevated_area.h"

#include <algorithm>
#include <cmath>

#include "field_messages.h"

namespace valdris {

namespace {

// The point at share t of the way from y0 to y1 on a log scale; the ends are
// returned as they are, so a table's own pairs come back exactly.
double LogInterpolate(double y0, double y1, double t) {
    if (t <= 0 || y0 == y1) return y0;
    if (t >= 1) return y1;
    return std::exp(std::log(y0) + t * (std::log(y1) - std::log(y0)));
}

double LogShare(double from, double to, double value) {
    return (std::log(value) - std::log(from)) / (std::log(to) - std::log(from));
}

}  // namespace

std::optional<Refusal> AreaFactorTableRefusal(const AreaFactorTable& table) {
    if (table.size() < 2) return field::Message(RefusalKind::AreaFactorsTooFew);
    for (std::size_t k = 0; k < table.size(); ++k) {
        const AreaFactor& pair = table[k];
        if (!(pair.area > 0) || !std::isfinite(pair.area)) return field::AreaFactorAreaRefusal(pair.area);
        if (!(pair.factor >= 1) || !std::isfinite(pair.factor)) return field::AreaFactorFactorRefusal(pair.factor);
        if (k == 0) continue;
        const AreaFactor& previous = table[k - 1];
        if (!(pair.area > previous.area)) return field::AreaFactorAreasOrderRefusal(previous.area, pair.area);
        if (pair.factor > previous.factor) return field::AreaFactorFactorsOrderRefusal(previous.factor, pair.factor);
    }
    return std::nullopt;
}

std::optional<Refusal> ScanMDCRefusal(double scan_mdc) {
    if (!(scan_mdc > 0) || !std::isfinite(scan_mdc)) return field::Message(RefusalKind::ScanMDCUnusable);
    return std::nullopt;
}

double AreaFactorAt(const AreaFactorTable& table, double area) {
    if (area <= table.front().area) return table.front().factor;
    for (std::size_t k = 1; k < table.size(); ++k) {
        const AreaFactor& low = table[k - 1];
        const AreaFactor& high = table[k];
        if (area < high.area) return LogInterpolate(low.factor, high.factor, LogShare(low.area, high.area, area));
    }
    return table.back().factor;
}

double AreaForFactor(const AreaFactorTable& table, double factor) {
    // The last pair still reaching the factor; the area grows from there
    // until the factor falls below it.
    std::size_t reaching = table.size();
    for (std::size_t k = 0; k < table.size() && table[k].factor >= factor; ++k) reaching = k;
    if (reaching == table.size()) return table.front().area;
    if (reaching + 1 == table.size() || table[reaching].factor == factor) return table[reaching].area;
    const AreaFactor& low = table[reaching];
    const AreaFactor& high = table[reaching + 1];
    return LogInterpolate(low.area, high.area, LogShare(low.factor, high.factor, factor));
}

Outcome<ElevatedAreaCheck> CheckElevatedAreas(const AreaFactorTable& table, double scan_mdc, double area, int samples,
                                              double dcgl) {
    if (auto refusal = AreaFactorTableRefusal(table)) return *refusal;
    if (auto refusal = ScanMDCRefusal(scan_mdc)) return *refusal;

    ElevatedAreaCheck check;
    check.grid_area = area / samples;
    check.area_factor = AreaFactorAt(table, check.grid_area);
    check.dcgl_emc = check.area_factor * dcgl;
    check.scan_mdc = scan_mdc;
    check.adequate = scan_mdc <= check.dcgl_emc;
    check.n_final = samples;
    if (check.adequate) return check;

    check.factor_needed = scan_mdc / dcgl;
    check.area_needed = AreaForFactor(table, *check.factor_needed);
    const double n_ea = std::ceil(area / *check.area_needed);
    if (!(n_ea <= field::kMostLocations)) return field::Message(RefusalKind::TooManyElevatedAreaSamples);
    check.n_ea = static_cast<int>(n_ea);
    check.n_final = std::max(samples, *check.n_ea);
    return check;
}

}  // namespace valdris
