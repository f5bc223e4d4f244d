// SPDX-License-Identifier: Apache-2.0
#include "sum_of_fractions.h"

#include <cmath>
#include <string_view>
#include <unordered_set>

#include "field_messages.h"

namespace valdris {

namespace {

bool NotNegative(double value) { return value >= 0 && std::isfinite(value); }

bool EveryConcentrationGiven(const std::vector<Nuclide>& nuclides) {
    for (const Nuclide& nuclide : nuclides) {
        if (!nuclide.concentration) return false;
    }
    return true;
}

}  // namespace

std::optional<Refusal> NuclidesRefusal(const std::vector<Nuclide>& nuclides) {
    if (nuclides.size() > field::kMostNuclides) return field::Message(RefusalKind::TooManyNuclides);
    std::unordered_set<std::string_view> names;
    for (std::size_t k = 0; k < nuclides.size(); ++k) {
        const Nuclide& nuclide = nuclides[k];
        if (nuclide.name.find_first_not_of(" \t") == std::string::npos) {
            return field::Message(RefusalKind::NuclideNameMissing);
        }
        if (!rules::DCGLUsable(nuclide.dcgl)) return field::NuclideDCGLRefusal(nuclide.name);
        if (!NotNegative(nuclide.sigma)) return field::NuclideSigmaRefusal(nuclide.name);
        if (nuclide.concentration && !NotNegative(*nuclide.concentration)) {
            return field::NuclideConcentrationRefusal(nuclide.name);
        }
        if (!names.insert(nuclide.name).second) return field::NuclideTwiceRefusal(nuclide.name);
    }
    return std::nullopt;
}

// Sums in list order. A sum too large for a double becomes infinite; the
// design's rules then refuse the sigma or LBGR, and no gross DCGL is given.
SumOfFractions CombineNuclides(const std::vector<Nuclide>& nuclides) {
    SumOfFractions sum;
    double variance = 0;
    for (const Nuclide& nuclide : nuclides) {
        const double share = nuclide.sigma / nuclide.dcgl;
        variance += share * share;
    }
    sum.sigma = std::sqrt(variance);
    if (!EveryConcentrationGiven(nuclides)) return sum;

    double lbgr = 0;
    double total = 0;
    for (const Nuclide& nuclide : nuclides) {
        lbgr += *nuclide.concentration / nuclide.dcgl;
        total += *nuclide.concentration;
    }
    sum.lbgr = lbgr;
    if (!(total > 0) || !std::isfinite(total)) return sum;
    double weighted = 0;
    for (const Nuclide& nuclide : nuclides) weighted += (*nuclide.concentration / total) / nuclide.dcgl;
    const double gross = 1 / weighted;
    if (std::isfinite(gross)) sum.gross_dcgl = gross;
    return sum;
}

DesignInputs SumOfFractionsInputs(const DesignInputs& entered, const SumOfFractions& sum) {
    DesignInputs inputs = entered;
    inputs.dcgl = 1;
    inputs.sigma = sum.sigma;
    if (sum.lbgr) inputs.lbgr = *sum.lbgr;
    return inputs;
}

std::string NuclideListText(const std::vector<Nuclide>& nuclides) {
    std::string text;
    for (const Nuclide& nuclide : nuclides) text += (text.empty() ? "" : ", ") + nuclide.name;
    return text;
}

}  // namespace valdris
