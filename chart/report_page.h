// SPDX-License-Identifier: Apache-2.0
#pragma once
// The one-page design report: heading, inputs, results with the decision
// rule, the power chart with its titles, the power at the labelled
// concentrations and the method note. Painted the same way into a PDF file,
// onto a printer and into the print preview.

#include <QDateTime>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>

#include "design_report.h"
#include "design_state.h"
#include "typefaces.h"

class QPainter;

namespace valdris {

struct ReportPage {
    DesignReport report;
    DesignState state;  // for the chart
    QDateTime made;     // shown in the heading
    QString unit_name = {};  // a plan's unit, named in the heading when given
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

// The sizes of every printed page's text and spaces, in points.
inline constexpr int kPageTitlePoints = 16;
inline constexpr int kPageHeadingPoints = 11;
inline constexpr int kPageBodyPoints = 10;
inline constexpr int kPageSmallPoints = 9;
inline constexpr double kPageSectionGap = 12;
inline constexpr double kPageHeadingGap = 3;
inline constexpr double kPageRule = 0.5;

// Word-wrapped black text across [x, x + width) from top, on a page laid out
// in points; returns its height. With draw false it only measures.
double PageText(QPainter& painter, bool draw, QPointF top_left, double width, const QString& text,
                const QFont& font, Qt::Alignment alignment = Qt::AlignLeft);

// A drawing made in the window's logical pixels (a chart surface's size,
// drawing_px) scaled into the frame on the page, clipped to it and framed
// by a thin rule.
void PaintDrawing(QPainter& painter, const QRectF& frame_pt, QSizeF drawing_px,
                  const std::function<void(QPainter&)>& draw);

// The chart font of the report's drawings, a little smaller than the
// window's (see the power chart's labels).
QFont ReportChartFont();

}  // namespace valdris
