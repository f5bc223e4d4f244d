// SPDX-License-Identifier: Apache-2.0
#pragma once
// The first pages of a plan report: the plan's table, one row per unit, the
// cells as the plan window shows them.

#include <QSizeF>
#include <QString>
#include <cstddef>

#include "plan.h"

class QPainter;

namespace valdris {

// Paints the title (first page only), the column titles and the rows from
// first_row on that fit the area (in points, at the painter's origin);
// returns the row the next page starts with.
std::size_t PaintPlanSummary(QPainter& painter, QSizeF area_pt, const SurveyPlan& plan, const QString& title,
                             std::size_t first_row);

}  // namespace valdris
