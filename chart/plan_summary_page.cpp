// SPDX-License-Identifier: Apache-2.0
#include "plan_summary_page.h"

#include <QFontMetricsF>
#include <QPainter>
#include <array>

#include "plan_table.h"
#include "report_page.h"

namespace valdris {
namespace {

constexpr int kTitlePoints = 14;
constexpr int kCellPoints = 7;
constexpr double kCellPadding = 2;
constexpr double kTitleGap = 10;
constexpr double kRule = 0.5;

// Shares of the width: the names and the radionuclide get more room.
constexpr std::array<double, kPlanColumnCount> kWeights = {2.2, 1.6, 0.8, 0.9, 0.9, 0.9, 1, 1, 0.8,
                                                           1, 1.1, 1.1, 1, 1.2, 0.8, 0.9};

QFont PageFont(int points, bool bold) { return ReportPageFont(points, {bold, false}); }

// A row of texts in their columns; returns its height.
double PaintRow(QPainter& painter, double y, double width, const std::array<QString, kPlanColumnCount>& cells,
                bool header) {
    double weights = 0;
    for (const double w : kWeights) weights += w;
    painter.setFont(PageFont(kCellPoints, header));
    const QFontMetricsF metrics(painter.font());
    // Column titles wrap onto up to three lines ("N (Reference Area)").
    const double height = (header ? 3 : 1) * metrics.height() + 2 * kCellPadding;
    double x = 0;
    for (int c = 0; c < kPlanColumnCount; ++c) {
        const double column = width * kWeights[static_cast<std::size_t>(c)] / weights;
        const QRectF cell(x + kCellPadding, y + kCellPadding, column - 2 * kCellPadding, height - 2 * kCellPadding);
        const bool text_column = c <= static_cast<int>(PlanColumn::Test);
        const int align = header ? (Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap)
                                 : ((text_column ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        const QString& text = cells[static_cast<std::size_t>(c)];
        painter.drawText(cell, align, header ? text : metrics.elidedText(text, Qt::ElideRight, cell.width()));
        x += column;
    }
    painter.setPen(QPen(Qt::black, kRule));
    painter.drawLine(QPointF(0, y + height), QPointF(width, y + height));
    return height;
}

}  // namespace

std::size_t PaintPlanSummary(QPainter& painter, QSizeF area_pt, const SurveyPlan& plan, const QString& title,
                             std::size_t first_row) {
    painter.save();
    ScaleToPoints(painter);
    double y = 0;
    if (first_row == 0) {
        painter.setFont(PageFont(kTitlePoints, true));
        const QRectF bounds = painter.boundingRect(QRectF(0, 0, area_pt.width(), area_pt.height()),
                                                   Qt::AlignLeft | Qt::TextWordWrap, title);
        painter.drawText(bounds, Qt::AlignLeft | Qt::TextWordWrap, title);
        y = bounds.height() + kTitleGap;
    }
    std::array<QString, kPlanColumnCount> cells;
    for (int c = 0; c < kPlanColumnCount; ++c) cells[c] = QString::fromStdString(ColumnTitle(PlanColumn(c)));
    y += PaintRow(painter, y, area_pt.width(), cells, true);
    const double row_height = QFontMetricsF(PageFont(kCellPoints, false)).height() + 2 * kCellPadding;
    std::size_t row = first_row;
    // At least one row a page, so that a page too small still ends.
    for (; row < plan.size() && (row == first_row || y + row_height <= area_pt.height()); ++row) {
        for (int c = 0; c < kPlanColumnCount; ++c) {
            cells[c] = QString::fromStdString(CellText(plan.entry(row), PlanColumn(c)));
        }
        y += PaintRow(painter, y, area_pt.width(), cells, false);
    }
    painter.restore();
    return row;
}

}  // namespace valdris
