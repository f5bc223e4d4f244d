// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit with several radionuclides, designed in units of the sum of
// fractions (the unity rule): DCGL 1, sigma = sqrt(sum (sigma_i / DCGL_i)^2),
// LBGR = sum c_i / DCGL_i when every expected concentration is known, and the
// gross-activity DCGL 1 / sum (f_i / DCGL_i) with f_i = c_i / sum c.
//
// Why: a mixture meets its limits when sum c_i / DCGL_i is at most 1, so the
// design works on that sum, whose limit is 1. Measured independently, the
// fractions' variances add, which gives sigma; the expected sum is the LBGR.
// With the mixture's shares f_i fixed, a total concentration C gives the sum
// C x sum (f_i / DCGL_i), which reaches 1 at the gross-activity DCGL.

#include <optional>
#include <string>
#include <vector>

#include "design_inputs.h"
#include "input_rules.h"

namespace valdris {

struct Nuclide {
    std::string name;
    double dcgl = 0;
    double sigma = 0;
    std::optional<double> concentration;
};

// A name, a DCGL within the design's limits, a sigma and a concentration
// (when given) finite and not below zero, no name twice, at most
// field::kMostNuclides of them; the first fault of the list, else nothing.
std::optional<Refusal> NuclidesRefusal(const std::vector<Nuclide>& nuclides);

// The figures of a checked, non-empty list, each in double. The sigma is the
// exact combination; it reaches the design's single-precision sigma rounded
// to nearest once, as a typed sigma does (SumOfFractionsInputs).
struct SumOfFractions {
    double sigma = 0;
    std::optional<double> lbgr;        // when every concentration is given
    std::optional<double> gross_dcgl;  // when every concentration is given and their sum is above zero
};
SumOfFractions CombineNuclides(const std::vector<Nuclide>& nuclides);

// The design's inputs in units of the sum of fractions: DCGL 1, the combined
// sigma, and the nuclides' LBGR or, without it, the one entered as a fraction.
DesignInputs SumOfFractionsInputs(const DesignInputs& entered, const SumOfFractions& sum);

// "Co-60, Cs-137": the label of the unit the design is for.
std::string NuclideListText(const std::vector<Nuclide>& nuclides);

}  // namespace valdris
