// SPDX-License-Identifier: Apache-2.0
#pragma once
// The one-page design report: heading, inputs, results with the decision
// rule, the power chart with its titles, the power at the labelled
// concentrations and the method note. Painted the same way into a PDF file,
// onto a printer and into the print preview.

#include <QDateTime>
#include <QFont>
#include <QSizeF>
#include <QString>

#include "design_report.h"
#include "design_state.h"
#include "typefaces.h"

class QPainter;

namespace valdris {

struct ReportPage {
    DesignReport report;
    DesignState state;  // for the chart
    QDateTime made;     // shown in the heading
};

// The report's typeface at a size in points, for a page painted in points.
QFont ReportPageFont(int points, FontStyle style = {});

// The program's name and version, as the heading and the PDF's creator.
QString ProgramTitle();

// Paints the page onto a painter that is active on a paged device (a PDF
// writer or a printer), inside the printable area of the given size in
// points, starting at the painter's origin. Any device resolution: the page
// is laid out in points and scaled to the device.
void PaintReportPage(QPainter& painter, QSizeF area_pt, const ReportPage& page);

// Scales the painter so that one unit is one point on its device: every
// printed page is laid out in points.
void ScaleToPoints(QPainter& painter);

}  // namespace valdris
