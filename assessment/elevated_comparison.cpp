// SPDX-License-Identifier: Apache-2.0
#include "elevated_comparison.h"

#include <cmath>

namespace valdris {
namespace {

Refusal NotMade(const std::string& why) {
    return Refusal{RefusalKind::ElevatedComparisonNotMade, "The elevated-measurement comparison is not made: " + why,
                   MessageIcon::Information};
}

// The mean of the values not above the DCGL, or nothing when every one is.
std::optional<double> MeanOutside(const std::vector<double>& values, double dcgl) {
    double sum = 0;
    std::size_t count = 0;
    for (const double value : values) {
        if (value > dcgl) continue;
        sum += value;
        ++count;
    }
    if (count == 0) return std::nullopt;
    return sum / static_cast<double>(count);
}

}  // namespace

bool IsDCGLEMC(double dcgl_emc) { return std::isfinite(dcgl_emc) && dcgl_emc > 0; }

bool ExceedsDCGLEMC(double value, double dcgl_emc) { return IsDCGLEMC(dcgl_emc) && value > dcgl_emc; }

std::optional<Refusal> ElevatedAreaSizeRefusal(double size) {
    if (size > 0 && std::isfinite(size)) return std::nullopt;
    return Refusal{RefusalKind::ElevatedAreaSizeUnusable, "An elevated area's size must be a number above 0 (m2).",
                   MessageIcon::Exclamation};
}

Outcome<ElevatedComparison> CompareElevatedAreas(const std::vector<double>& values,
                                                 const ElevatedComparisonInputs& in) {
    if (auto refusal = AreaFactorTableRefusal(in.area_factors)) return *refusal;
    if (!(in.unit_area > 0) || !std::isfinite(in.unit_area) || in.samples < 1) {
        return NotMade("the unit's area and sample size are needed.");
    }
    const std::optional<double> delta = MeanOutside(values, in.dcgl);
    if (!delta) return NotMade("every measurement lies above the DCGL, so none gives the mean outside the areas.");

    ElevatedComparison comparison;
    comparison.delta = *delta;
    comparison.dcgl = in.dcgl;
    comparison.combined = *delta / in.dcgl;
    const double default_size = in.unit_area / in.samples;
    comparison.share_dcgl_emc = AreaFactorAt(in.area_factors, default_size) * in.dcgl;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!(values[i] > in.dcgl)) continue;
        ElevatedAreaResult area;
        area.measurement = i;
        if (i < in.locations.size()) area.location = in.locations[i];
        const auto entered = area.location.empty() ? in.sizes.end() : in.sizes.find(area.location);
        area.size_given = entered != in.sizes.end();
        area.size = area.size_given ? entered->second : default_size;
        if (auto refusal = ElevatedAreaSizeRefusal(area.size)) return *refusal;
        area.mean = values[i];
        area.area_factor = AreaFactorAt(in.area_factors, area.size);
        area.dcgl_emc = area.area_factor * in.dcgl;
        area.above_dcgl_emc = ExceedsDCGLEMC(area.mean, area.dcgl_emc);
        const double excess = (area.mean - *delta) / area.dcgl_emc;
        area.sum = *delta / in.dcgl + excess;
        area.passes = area.sum < 1;
        comparison.combined += excess;
        comparison.areas.push_back(area);
    }
    if (!std::isfinite(comparison.combined)) return NotMade("its figures are too large to compare.");
    comparison.passes = comparison.areas.empty() || comparison.combined < 1;
    return comparison;
}

}  // namespace valdris
