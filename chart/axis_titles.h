// SPDX-License-Identifier: Apache-2.0
#pragma once
// The two axis titles that stand over the power chart: their words, typeface
// and places. The window shows them as labels over its chart; the chart files,
// the copied chart and the report draw them at the same places.

#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace valdris {

QString YAxisTitle();  // "Probability that the Survey Unit Passes"
QString XAxisTitle();  // "True Survey Unit Concentration (percent of DCGL)"

// Times New Roman 11.25 pt bold.
QFont AxisTitleFont();

// Places in logical pixels from the top-left corner of the chart's drawing
// area. The y title is centred across the drawing area at this height.
int YAxisTitleTop();
// The x title is centred in this box, near the bottom of the drawing area.
QRect XAxisTitleBox();

// Draws both titles in black over a chart of the given drawing-area width,
// with the painter's font resolution.
void DrawAxisTitles(QPainter& painter, int drawing_width_px, const QFont& font);

}  // namespace valdris
