// SPDX-License-Identifier: Apache-2.0
#include "map_page.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "chart_geometry.h"
#include "field_texts.h"
#include "map_frame.h"
#include "painter_surface.h"
#include "report_page.h"
#include "sample_map.h"

namespace valdris {
namespace {

// The drawing's width in the window's pixels: as wide as the report's
// drawings, so that its numbers print at the size they have there.
constexpr double kDrawingWidthPx = kChartDrawingWidthPx;
constexpr double kLabelShare = 0.3;  // of the title block's width, for its labels

QString Q(const std::string& text) { return QString::fromStdString(text); }

double TitleBlockHeight(QPainter& painter, double width, const MapPage& page) {
    const QFont body = ReportPageFont(kPageBodyPoints);
    double height = 2 * kPageHeadingGap;
    for (const auto& [label, value] : MapTitleRows(page)) {
        height += std::max(PageText(painter, false, {}, width * kLabelShare, label, body),
                           PageText(painter, false, {}, width * (1 - kLabelShare), value, body));
    }
    return height;
}

void PaintTitleBlock(QPainter& painter, const QRectF& block, const MapPage& page) {
    const QFont body = ReportPageFont(kPageBodyPoints);
    const QFont bold = ReportPageFont(kPageBodyPoints, {true, false});
    const double label_width = block.width() * kLabelShare;
    double y = block.top() + kPageHeadingGap;
    for (const auto& [label, value] : MapTitleRows(page)) {
        const double x = block.left() + kPageHeadingGap;
        const double height =
            std::max(PageText(painter, true, {x, y}, label_width - kPageHeadingGap, label, bold),
                     PageText(painter, true, {block.left() + label_width, y}, block.width() - label_width, value, body));
        y += height;
    }
    painter.setPen(QPen(Qt::black, kPageRule));
    painter.drawRect(block);
    painter.drawLine(QLineF(block.left() + label_width - kPageHeadingGap, block.top(),
                            block.left() + label_width - kPageHeadingGap, block.bottom()));
}

}  // namespace

std::vector<std::pair<QString, QString>> MapTitleRows(const MapPage& page) {
    const std::string crs = CrsCaption(page.layout.boundary.crs);
    return {
        {QStringLiteral("Plan"), page.plan},
        {QStringLiteral("Survey unit"), page.unit},
        {QStringLiteral("Coordinates"), crs.empty() ? QStringLiteral("Local, in metres") : Q(crs + ", in metres")},
        {QStringLiteral("Grid"), Q(GridTypeCaption(page.layout.type) + ", spacing " + LengthText(page.layout.spacing))},
        {QStringLiteral("N"), QString::number(page.layout.points.size())},
        {QStringLiteral("Date"), page.made.toString(QStringLiteral("yyyy-MM-dd"))},
    };
}

void PaintMapPage(QPainter& painter, QSizeF area_pt, const MapPage& page) {
    painter.save();
    ScaleToPoints(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    const QString title = QStringLiteral("Sample Map: ") + page.unit;
    double y = PageText(painter, true, {0, 0}, area_pt.width(), title, ReportPageFont(kPageTitlePoints, {true, false}));
    y += kPageSectionGap;
    const double block_height = TitleBlockHeight(painter, area_pt.width(), page);
    const double map_height = std::max(0.0, area_pt.height() - y - kPageSectionGap - block_height);
    const QRectF frame(0, y, area_pt.width(), map_height);
    if (map_height > 0) {
        const QSizeF drawing(kDrawingWidthPx, kDrawingWidthPx * map_height / area_pt.width());
        PaintDrawing(painter, frame, drawing, [&](QPainter& on) {
            PainterSurface surface(on, drawing, ReportChartFont());
            DrawSampleMap(page.layout, surface);
        });
    }
    PaintTitleBlock(painter, QRectF(0, area_pt.height() - block_height, area_pt.width(), block_height), page);
    painter.restore();
}

}  // namespace valdris
