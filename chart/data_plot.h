// SPDX-License-Identifier: Apache-2.0
#pragma once
// The measurements against the DCGL: a quantile plot of the survey unit's
// values (and, for the WRS test, of the reference values increased by the
// DCGL, the values they are ranked against) with the DCGL as a red line, so
// that one look shows how many lie on which side. Drawn on the same surface as
// the power chart, for the plan window's panel and the unit's report.

#include <vector>

#include "chart_surface.h"

namespace valdris {

// The reference values are given as measured; the plot adds the DCGL. Values
// must be finite; data too far apart to scale leave the plot empty.
void DrawDataPlot(const std::vector<double>& survey, const std::vector<double>& reference, double dcgl,
                  ChartSurface& surface);

}  // namespace valdris
