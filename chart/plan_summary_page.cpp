// SPDX-License-Identifier: Apache-2.0
#include "plan_summary_page.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <array>
#include <vector>

#include "number_text.h"
#include "plan_summary.h"
#include "plan_table.h"
#include "report_page.h"

namespace valdris {
namespace {

constexpr int kTitlePoints = 14;
constexpr int kCellPoints = 7;
constexpr int kSmallestCellPoints = 5;  // a title shrinks no further, then wraps within its word
constexpr double kCellPadding = 2;
constexpr double kTitleGap = 10;
constexpr double kRule = 0.5;
constexpr double kVerdictWeight = 1;

// Shares of the width: the names and the radionuclide get more room.
constexpr std::array<double, kPlanColumnCount> kWeights = {2.2, 1.6, 0.8, 0.9, 0.9, 0.9, 1, 1, 0.8,
                                                           1, 1.1, 1.1, 1, 1.2, 0.8, 0.9};

QFont PageFont(int points, bool bold) { return ReportPageFont(points, {bold, false}); }

// The table's columns: the plan's, and the verdict while some unit has
// measurements. Each with its title, its share and its side.
struct Column {
    QString title;
    double weight;
    bool text;  // set to the left
};

std::vector<Column> ColumnsOf(const SurveyPlan& plan) {
    std::vector<Column> columns;
    for (int c = 0; c < kPlanColumnCount; ++c) {
        columns.push_back({QString::fromStdString(ColumnTitle(PlanColumn(c))), kWeights[static_cast<std::size_t>(c)],
                           c <= static_cast<int>(PlanColumn::Test)});
    }
    if (HasMeasurements(plan)) columns.push_back({QStringLiteral("Verdict"), kVerdictWeight, true});
    return columns;
}

QStringList CellsOf(const PlanEntry& entry, std::size_t count) {
    QStringList cells;
    for (int c = 0; c < kPlanColumnCount; ++c) cells << QString::fromStdString(CellText(entry, PlanColumn(c)));
    if (count > static_cast<std::size_t>(kPlanColumnCount)) cells << QString::fromStdString(VerdictCellText(entry));
    return cells;
}

double WidestWord(const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString& word : text.split(QLatin1Char(' '))) widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

// A cell's text in a font small enough for its longest word to fit the cell
// ("Reference" whole, not "Referenc"), wrapping between words; only a word
// too long even then is broken within.
struct CellSetting {
    QFont font;
    int wrap;
};
CellSetting Fitting(const QString& text, double width, bool bold) {
    for (int points = kCellPoints; points >= kSmallestCellPoints; --points) {
        const QFont font = PageFont(points, bold);
        if (WidestWord(text, font) <= width) return {font, Qt::TextWordWrap};
    }
    return {PageFont(kSmallestCellPoints, bold), Qt::TextWordWrap | Qt::TextWrapAnywhere};
}

class Table {
public:
    Table(QPainter& painter, double width, std::vector<Column> columns)
        : painter_(painter), width_(width), columns_(std::move(columns)) {
        for (const Column& column : columns_) weights_ += column.weight;
    }

    // Every value whole: a value too long for its cell wraps onto more lines.
    double RowHeight(const QStringList& cells, bool header) const {
        double height = 0;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const double inner = ColumnWidth(c) - 2 * kCellPadding;
            const CellSetting setting = Fitting(cells[static_cast<int>(c)], inner, header);
            const QRectF needed = QFontMetricsF(setting.font).boundingRect(QRectF(0, 0, inner, 1e6), setting.wrap,
                                                                           cells[static_cast<int>(c)]);
            height = std::max(height, needed.height());
        }
        return height + 2 * kCellPadding;
    }

    double Paint(double y, const QStringList& cells, bool header) {
        const double height = RowHeight(cells, header);
        double x = 0;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const double column = ColumnWidth(c);
            const QRectF cell(x + kCellPadding, y + kCellPadding, column - 2 * kCellPadding, height - 2 * kCellPadding);
            const QString& text = cells[static_cast<int>(c)];
            const CellSetting setting = Fitting(text, cell.width(), header);
            painter_.setFont(setting.font);
            const int side = header ? Qt::AlignHCenter | Qt::AlignBottom
                                    : (columns_[c].text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
            painter_.drawText(cell, side | setting.wrap, text);
            x += column;
        }
        painter_.setPen(QPen(Qt::black, kRule));
        painter_.drawLine(QPointF(0, y + height), QPointF(width_, y + height));
        return height;
    }

    QStringList Titles() const {
        QStringList titles;
        for (const Column& column : columns_) titles << column.title;
        return titles;
    }
    std::size_t size() const { return columns_.size(); }

private:
    double ColumnWidth(std::size_t c) const { return width_ * columns_[c].weight / weights_; }

    QPainter& painter_;
    double width_;
    std::vector<Column> columns_;
    double weights_ = 0;
};

// "Total: 96 samples taken (final N and reference areas); cost 25500."
QString TotalsText(const PlanTotals& totals) {
    QString text = QStringLiteral("Total: %1 samples taken (final N and reference areas)").arg(totals.samples);
    if (totals.cost) text += QStringLiteral("; cost ") + QString::fromStdString(WriteNumber(*totals.cost));
    return text + QLatin1Char('.');
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
    Table table(painter, area_pt.width(), ColumnsOf(plan));
    y += table.Paint(y, table.Titles(), true);
    const QString totals = TotalsText(TotalsOf(plan));
    painter.setFont(PageFont(kCellPoints, true));
    const QRectF totals_bounds = painter.boundingRect(QRectF(0, 0, area_pt.width(), area_pt.height()),
                                                      Qt::AlignLeft | Qt::TextWordWrap, totals);
    std::size_t row = first_row;
    // At least one row a page, so that a page too small still ends; the
    // last row keeps the totals below it on its page.
    for (; row < plan.size(); ++row) {
        const QStringList cells = CellsOf(plan.entry(row), table.size());
        const double below = row + 1 == plan.size() ? kCellPadding + totals_bounds.height() : 0;
        if (row != first_row && y + table.RowHeight(cells, false) + below > area_pt.height()) break;
        y += table.Paint(y, cells, false);
    }
    if (row == plan.size()) {
        painter.setFont(PageFont(kCellPoints, true));
        painter.drawText(totals_bounds.translated(0, y + kCellPadding), Qt::AlignLeft | Qt::TextWordWrap, totals);
    }
    painter.restore();
    return row;
}

}  // namespace valdris
