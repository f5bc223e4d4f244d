// SPDX-License-Identifier: Apache-2.0
#include "unit_pages.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "chart_geometry.h"
#include "data_plot.h"
#include "assessment_view.h"
#include "painter_surface.h"
#include "posting_plot.h"
#include "sample_map.h"
#include "plan_table.h"
#include "report_page.h"

namespace valdris {
namespace {

constexpr double kLabelShare = 0.5;  // of the width, for a row's label
constexpr double kListGap = 12;      // between the columns of listed values

QString Q(const std::string& text) { return QString::fromStdString(text); }
QFont Font(int points, bool bold = false) { return ReportPageFont(points, {bold, false}); }

// Lays sections out from the top of a page down, beginning a page when the
// next piece does not fit. Every piece is measured before it is drawn.
class Flow {
public:
    Flow(QPainter& painter, QSizeF area, const NextPage& next_page, QString title)
        : painter_(painter), area_(area), next_page_(next_page), title_(std::move(title)) {
        PageHeading();
    }

    bool failed() const { return failed_; }
    int pages() const { return pages_; }

    void Section(const PlanEntry& entry, const ReportSection& section) {
        const QFont heading = Font(kPageHeadingPoints, true);
        // A heading stays with what follows it.
        const double heading_height = Text(0, Q(section.title), heading, false) + kPageHeadingGap;
        if (!Room(kPageSectionGap + heading_height + FirstPieceHeight(section))) return;
        if (y_ > page_top_) y_ += kPageSectionGap;
        Text(0, Q(section.title), heading, true);
        y_ += heading_height;
        for (const std::string& lead : section.lead) Paragraph(Q(lead), Font(kPageBodyPoints, true));
        for (const ReportLine& line : section.lines) Row(line);
        for (const std::string& note : section.notes) Paragraph(Q(note), Font(kPageBodyPoints));
        if (section.picture != SectionPicture::None) Picture(entry, section.picture, Q(section.caption));
        List(section.listed);
        if (!section.listed_note.empty()) Paragraph(Q(section.listed_note), Font(kPageSmallPoints));
    }

private:
    double width() const { return area_.width(); }

    double Text(double x, const QString& text, const QFont& font, bool draw, double width = -1) {
        return PageText(painter_, draw && !failed_, QPointF(x, y_), width < 0 ? area_.width() - x : width, text,
                        font);
    }

    // Makes room for a piece of the height: here, or on a new page when it
    // does not fit below what this page holds already.
    bool Room(double height) {
        if (failed_) return false;
        if (y_ + height <= area_.height() || y_ <= page_top_) return true;
        if (!next_page_()) {
            failed_ = true;
            return false;
        }
        ++pages_;
        PageHeading();
        return true;
    }

    void PageHeading() {
        y_ = 0;
        const QString title = pages_ == 0 ? title_ : title_ + QStringLiteral(" (continued)");
        y_ += Text(0, title, Font(kPageTitlePoints, true), true) + kPageHeadingGap;
        if (!failed_) {
            painter_.setPen(QPen(Qt::black, kPageRule));
            painter_.drawLine(QLineF(0, y_, width(), y_));
        }
        y_ += kPageSectionGap;
        page_top_ = y_;
    }

    double FirstPieceHeight(const ReportSection& section) {
        if (!section.lead.empty()) return Text(0, Q(section.lead.front()), Font(kPageBodyPoints, true), false);
        if (!section.lines.empty()) return RowHeight(section.lines.front(), false);
        if (!section.listed.empty()) return QFontMetricsF(Font(kPageBodyPoints), painter_.device()).height();
        // A heading over a picture alone stays with the picture.
        if (section.picture != SectionPicture::None) {
            return kPageHeadingGap + width() * kChartDrawingHeightPx / kChartDrawingWidthPx;
        }
        return 0;
    }

    void Paragraph(const QString& text, const QFont& font) {
        if (!Room(Text(0, text, font, false))) return;
        y_ += Text(0, text, font, true);
    }

    double RowHeight(const ReportLine& line, bool draw) {
        const QFont body = Font(kPageBodyPoints);
        const double label_width = width() * kLabelShare;
        const double label = Text(0, Q(line.label), body, draw, label_width);
        const double value = Text(label_width, Q(line.value), body, draw, width() - label_width);
        return std::max(label, value);
    }

    void Row(const ReportLine& line) {
        if (!Room(RowHeight(line, false))) return;
        y_ += RowHeight(line, true);
    }

    // The picture at the width of the page, the drawing's shape kept.
    void Picture(const PlanEntry& entry, SectionPicture picture, const QString& caption) {
        const QSizeF drawing(kChartDrawingWidthPx, kChartDrawingHeightPx);
        const double height = width() * drawing.height() / drawing.width();
        const QFont small = Font(kPageSmallPoints);
        if (!Room(kPageHeadingGap + height + Text(0, caption, small, false))) return;
        y_ += kPageHeadingGap;
        PaintDrawing(painter_, QRectF(0, y_, width(), height), drawing, [&](QPainter& painter) {
            PainterSurface surface(painter, drawing, ReportChartFont());
            if (picture == SectionPicture::SampleMap && entry.field.layout) {
                DrawSampleMap(*entry.field.layout, surface);
            } else if (picture == SectionPicture::PostingPlot) {
                const AssessmentView view = MakeAssessmentView(entry);
                const Boundary boundary =
                    entry.field.layout ? BoundaryOrRectangle(entry.field.layout->boundary, entry.field.layout->width,
                                                             entry.field.layout->height)
                                       : Boundary{};
                DrawPostingPlot(boundary, view.posted, view.dcgl, view.dcgl_emc, surface);
            } else if (picture == SectionPicture::DataPlot) {
                DrawDataPlot(entry.unit.survey_data, entry.unit.reference_data, entry.figures.state.DCGL, surface);
            }
        });
        y_ += height;
        y_ += Text(0, caption, small, true);
    }

    // Short items in as many equal columns as the widest allows, row by row.
    void List(const std::vector<std::string>& items) {
        if (items.empty()) return;
        const QFont body = Font(kPageBodyPoints);
        const QFontMetricsF metrics(body, painter_.device());
        double widest = 0;
        for (const std::string& item : items) widest = std::max(widest, metrics.horizontalAdvance(Q(item)));
        const auto columns = static_cast<std::size_t>(std::max(1.0, std::floor((width() + kListGap) / (widest + kListGap))));
        const double column_width = width() / static_cast<double>(columns);
        for (std::size_t first = 0; first < items.size(); first += columns) {
            if (!Room(metrics.height())) return;
            for (std::size_t k = first; k < std::min(items.size(), first + columns); ++k) {
                Text(static_cast<double>(k - first) * column_width, Q(items[k]), body, true, column_width);
            }
            y_ += metrics.height();
        }
    }

    QPainter& painter_;
    QSizeF area_;
    const NextPage& next_page_;
    QString title_;
    double y_ = 0;
    double page_top_ = 0;
    int pages_ = 0;
    bool failed_ = false;
};

}  // namespace

int PaintSections(QPainter& painter, QSizeF area_pt, const PlanEntry& entry, const std::vector<ReportSection>& sections,
                  const QString& title, const NextPage& next_page) {
    painter.save();
    ScaleToPoints(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    Flow flow(painter, area_pt, next_page, title);
    for (const ReportSection& section : sections) flow.Section(entry, section);
    painter.restore();
    return flow.failed() ? -1 : flow.pages() + 1;
}

QString PaintUnitPages(QPainter& painter, QSizeF area_pt, const PlanEntry& entry, const QDateTime& made,
                       const NextPage& next_page) {
    const DesignState state = DesignCurve(entry.figures);
    const QString name = Q(entry.unit.name);
    PaintReportPage(painter, area_pt,
                    {MakeDesignReport(entry.unit.test, state, UnitReportEntries(entry)), state, made, name});
    const std::vector<ReportSection> sections = UnitReportSections(entry);
    if (sections.empty()) return {};
    if (!next_page()) return QStringLiteral("a page could not be added");
    if (PaintSections(painter, area_pt, entry, sections, QStringLiteral("Survey Unit: ") + name, next_page) < 0) {
        return QStringLiteral("a page could not be added");
    }
    return {};
}

}  // namespace valdris
