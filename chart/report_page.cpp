// SPDX-License-Identifier: Apache-2.0
#include "report_page.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "axis_titles.h"
#include "chart_geometry.h"
#include "painter_surface.h"
#include "power_chart.h"
#include "typefaces.h"

#ifndef VALDRIS_VERSION_TEXT
#error "VALDRIS_VERSION_TEXT must name the program's version"
#endif

namespace valdris {
namespace {

constexpr double kPointsPerInch = 72;
constexpr double kScreenDotsPerInch = 96;

// Sizes in points.
constexpr int kTitlePoints = kPageTitlePoints;
constexpr int kHeadingPoints = kPageHeadingPoints;
constexpr int kBodyPoints = kPageBodyPoints;
constexpr int kSmallPoints = kPageSmallPoints;
constexpr double kSectionGap = kPageSectionGap;
constexpr double kHeadingGap = kPageHeadingGap;
constexpr double kColumnGap = 24;
constexpr double kLabelShare = 0.55;       // of a two-column table, for the labels
constexpr double kMethodLabelWidth = 80;
constexpr double kPowerLabelShare = 0.34;  // of the power table, for the row titles
constexpr double kTableRule = kPageRule;

const QString kReportTitle = QStringLiteral("Final Status Survey Design");
const QString kUnitTitle = QStringLiteral("Survey Unit: ");

QString Q(const std::string& text) { return QString::fromStdString(text); }

QFont PageFont(int points, FontStyle style = {}) { return ReportPageFont(points, style); }

// The chart is drawn in the window's logical pixels (96 per inch), its fonts
// sized in those pixels for the same reason.
QFont InChartPixels(QFont font) {
    font.setPixelSize(qRound(font.pointSizeF() * kScreenDotsPerInch / kPointsPerInch));
    return font;
}

// The chart's labels a little smaller than the window's: "100%" and "110%"
// stand a tenth of the DCGL apart, about as wide as each label in the
// window's size, and would touch on paper.
constexpr int kReportChartLabelPixels = 9;

// Lays the page out from top to bottom; with draw false it only measures.
class PageLayout {
public:
    PageLayout(QPainter& painter, double width, bool draw) : painter_(painter), width_(width), draw_(draw) {}

    double y() const { return y_; }
    void Skip(double height) { y_ += height; }

    // Word-wrapped text across [x, x + width) from the current line; returns
    // its height without advancing.
    double TextAt(double x, double top, double width, const QString& text, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft) {
        return PageText(painter_, draw_, QPointF(x, top), width, text, font, alignment);
    }

    void Paragraph(const QString& text, const QFont& font) { y_ += TextAt(0, y_, width_, text, font); }

    void Rule(double at) {
        if (draw_) painter_.drawLine(QLineF(0, at, width_, at));
    }

    // Label and value rows in a column; returns the column's height.
    double Table(double x, double top, double width, const QString& heading, const std::vector<ReportLine>& rows) {
        double y = top + TextAt(x, top, width, heading, PageFont(kHeadingPoints, {true, false})) + kHeadingGap;
        const QFont body = PageFont(kBodyPoints);
        const double label_width = width * kLabelShare;
        for (const ReportLine& row : rows) {
            const double label = TextAt(x, y, label_width, Q(row.label), body);
            const double value = TextAt(x + label_width, y, width - label_width, Q(row.value), body);
            y += std::max(label, value);
        }
        return y - top;
    }

    void InputsAndResults(const DesignReport& report) {
        const double column = (width_ - kColumnGap) / 2;
        const double inputs = Table(0, y_, column, QStringLiteral("Inputs"), report.inputs);
        const double results = Table(column + kColumnGap, y_, column, QStringLiteral("Results"), report.results);
        y_ += std::max(inputs, results);
    }

    void Chart(const DesignState& state, double height) {
        const QSizeF drawing(kChartDrawingWidthPx, kChartDrawingHeightPx);
        const QRectF frame(0, y_, drawing.width() * height / drawing.height(), height);
        if (draw_) {
            PaintDrawing(painter_, frame, drawing, [&](QPainter& painter) {
                PainterSurface surface(painter, drawing, ReportChartFont());
                DrawPowerChart(state, surface, kReportChartStyle);
                DrawAxisTitles(painter, kChartDrawingWidthPx, InChartPixels(AxisTitleFont()));
            });
        }
        y_ += height;
    }

    // Two rows: the labelled concentrations and the pass probability at each.
    void PowerTable(const std::vector<ReportLine>& points) {
        const QFont small = PageFont(kSmallPoints);
        const QFont small_bold = PageFont(kSmallPoints, {true, false});
        const double label_width = width_ * kPowerLabelShare;
        const double cell = (width_ - label_width) / static_cast<double>(points.size());
        auto row = [&](const QString& title, const QFont& font, auto text_of) {
            double height = TextAt(0, y_, label_width, title, small_bold);
            for (std::size_t i = 0; i < points.size(); ++i) {
                height = std::max(height, TextAt(label_width + i * cell, y_, cell, text_of(points[i]), font,
                                                 Qt::AlignRight));
            }
            y_ += height;
        };
        row(QStringLiteral("Concentration (percent of DCGL)"), small_bold,
            [](const ReportLine& p) { return Q(p.label); });
        Rule(y_);
        row(Q(kPassProbabilityTitle), small, [](const ReportLine& p) { return Q(p.value); });
    }

    void Method(const std::vector<ReportLine>& method) {
        const QFont small = PageFont(kSmallPoints);
        const QFont small_bold = PageFont(kSmallPoints, {true, false});
        for (const ReportLine& line : method) {
            const double label = TextAt(0, y_, kMethodLabelWidth, Q(line.label), small_bold);
            const double text = TextAt(kMethodLabelWidth, y_, width_ - kMethodLabelWidth, Q(line.value), small);
            y_ += std::max(label, text) + kHeadingGap;
        }
    }

    // Everything on the page; the chart gets the given height.
    void Page(const ReportPage& page, double chart_height) {
        const DesignReport& report = page.report;
        Paragraph(kReportTitle, PageFont(kTitlePoints, {true, false}));
        if (!page.unit_name.isEmpty()) {
            Paragraph(kUnitTitle + page.unit_name, PageFont(kHeadingPoints, {true, false}));
        }
        Paragraph(QStringLiteral("Radionuclide: ") + Q(report.radionuclide), PageFont(kHeadingPoints));
        Paragraph(ProgramTitle() + QStringLiteral(", ") + page.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                  PageFont(kSmallPoints));
        Skip(kHeadingGap);
        Rule(y_);
        Skip(kSectionGap);
        InputsAndResults(report);
        Skip(kHeadingGap);
        Paragraph(Q(report.decision_rule), PageFont(kBodyPoints));
        Skip(kSectionGap);
        Chart(page.state, chart_height);
        Skip(kSectionGap);
        PowerTable(report.power);
        Skip(kSectionGap);
        Paragraph(QStringLiteral("Method"), PageFont(kHeadingPoints, {true, false}));
        Skip(kHeadingGap);
        Method(report.method);
    }

private:
    QPainter& painter_;
    double width_;
    bool draw_;
    double y_ = 0;
};

}  // namespace

// The page is painted in points; a font is sized in the painter's units so
// that the device's resolution does not scale it a second time.
QFont ReportPageFont(int points, FontStyle style) {
    QFont font = Typeface(Face::TimesNewRoman, points, style);
    font.setPixelSize(points);
    return font;
}

QString ProgramTitle() { return QStringLiteral("VALDRIS Power " VALDRIS_VERSION_TEXT); }

QFont ReportChartFont() {
    QFont font = ChartFont();
    font.setPixelSize(kReportChartLabelPixels);
    return font;
}

double PageText(QPainter& painter, bool draw, QPointF top_left, double width, const QString& text,
                const QFont& font, Qt::Alignment alignment) {
    const QRectF box(top_left, QSizeF(width, 1e6));
    const int flags = int(alignment | Qt::AlignTop) | Qt::TextWordWrap;
    const QRectF used = QFontMetricsF(font, painter.device()).boundingRect(box, flags, text);
    if (draw) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(top_left, QSizeF(width, used.height())), flags, text);
    }
    return used.height();
}

void PaintDrawing(QPainter& painter, const QRectF& frame_pt, QSizeF drawing_px,
                  const std::function<void(QPainter&)>& draw) {
    painter.save();
    painter.translate(frame_pt.topLeft());
    painter.scale(frame_pt.width() / drawing_px.width(), frame_pt.height() / drawing_px.height());
    painter.setClipRect(QRectF(QPointF(0, 0), drawing_px));
    draw(painter);
    painter.restore();
    painter.setPen(QPen(Qt::black, kTableRule));
    painter.drawRect(frame_pt);
}

void ScaleToPoints(QPainter& painter) {
    const QPaintDevice* device = painter.device();
    painter.scale(device->logicalDpiX() / kPointsPerInch, device->logicalDpiY() / kPointsPerInch);
}

void PaintReportPage(QPainter& painter, QSizeF area_pt, const ReportPage& page) {
    painter.save();
    ScaleToPoints(painter);
    painter.setRenderHint(QPainter::Antialiasing);

    // The chart takes the full width unless the rest of the page needs the
    // room (a printer with wide margins): then it is made smaller.
    PageLayout measure(painter, area_pt.width(), false);
    measure.Page(page, 0);
    const double full_width = area_pt.width() * kChartDrawingHeightPx / kChartDrawingWidthPx;
    const double chart_height = std::max(0.0, std::min(full_width, area_pt.height() - measure.y()));

    PageLayout layout(painter, area_pt.width(), true);
    layout.Page(page, chart_height);
    painter.restore();
}

}  // namespace valdris
