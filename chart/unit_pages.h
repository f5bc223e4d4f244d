// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit's pages in the plan report: its design page, then, when it has
// more to show (measurements, the verdict on them), those sections on as
// many further pages as they need, each page headed by the unit's name.

#include <QDateTime>
#include <QSizeF>
#include <QString>
#include <functional>

#include "plan.h"
#include "unit_report.h"

class QPainter;

namespace valdris {

// Starts the next page of the document; false when it cannot.
using NextPage = std::function<bool()>;

// Paints the unit's pages into the printable area (in points, at the
// painter's origin), the first on the current page; returns an error text,
// or an empty one.
QString PaintUnitPages(QPainter& painter, QSizeF area_pt, const PlanEntry& entry, const QDateTime& made,
                       const NextPage& next_page);

// Paints the sections from the top of the current page on, starting a page
// whenever the next row does not fit; the heading of each page after the
// first is the title. Returns how many pages were begun, or -1 when a page
// could not be.
int PaintSections(QPainter& painter, QSizeF area_pt, const PlanEntry& entry, const std::vector<ReportSection>& sections,
                  const QString& title, const NextPage& next_page);

}  // namespace valdris
