// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design state shared by the design routines, the window and the chart.
// Widths are part of the meaning: values are rounded to them when stored and
// compared in them, and every figure the program gives depends on it.

#include <array>
#include <cstdint>

namespace valdris {

constexpr int kCurvePoints = 60;
// The curve runs from a fortieth of the DCGL to 150 percent in steps of a
// fortieth: four points to each tenth, point 4k at k tenths.
constexpr int kCurvePointsPerTenth = 4;
static_assert(kCurvePoints == 15 * kCurvePointsPerTenth, "the curve ends at 150 percent of the DCGL");

// The inputs as stored and the results, without the power curve: what a
// unit of a large plan keeps (the curve is formed again when it is drawn or
// written, by the same engine, to the same bits).
struct DesignSummary {
    // Inputs, kept in range by whoever fills them (the window or the CLI).
    float Alpha = 0.0f;   // Type I decision error rate
    float Beta = 0.0f;    // Type II decision error rate
    float Sigma = 0.0f;   // estimated standard deviation of the measurements
    double DCGL = 0.0;    // derived concentration guideline level
    double LBGR = 0.0;    // lower boundary of the gray region
    float Delta = 0.0f;   // DCGL - LBGR, computed in double, rounded to single
    double DoverS = 0.0;  // relative shift Delta / Sigma

    // Results of the design routines.
    int32_t SignN = 0;
    int32_t SignCriticalValue = 0;
    int32_t WRSN = 0;
    double WRSCriticalValue = 0.0;
};

struct DesignState : DesignSummary {
    // Power curve, indexed 1..60; element 0 stays 0 so that the grid can be
    // accumulated from CurveX[0].
    std::array<float, kCurvePoints + 1> CurveX{};
    std::array<double, kCurvePoints + 1> CurvePower{};
};

}  // namespace valdris
