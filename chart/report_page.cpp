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
constexpr int kTitlePoints = 16;
constexpr int kHeadingPoints = 11;
constexpr int kBodyPoints = 10;
constexpr int kSmallPoints = 9;
constexpr double kSectionGap = 12;
constexpr double kHeadingGap = 3;
constexpr double kColumnGap = 24;
constexpr double kLabelShare = 0.55;       // of a two-column table, for the labels
constexpr double kMethodLabelWidth = 80;
constexpr double kPowerLabelShare = 0.34;  // of the power table, for the row titles
constexpr double kTableRule = 0.5;

const QString kReportTitle = QStringLiteral("Final Status Survey Design");

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

QFont ReportChartFont() {
    QFont font = ChartFont();
    font.setPixelSize(kReportChartLabelPixels);
    return font;
}

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
        const QRectF box(x, top, width, 1e6);
        const int flags = int(alignment | Qt::AlignTop) | Qt::TextWordWrap;
        const QRectF used = QFontMetricsF(font, painter_.device()).boundingRect(box, flags, text);
        if (draw_) {
            painter_.setFont(font);
            painter_.setPen(Qt::black);
            painter_.drawText(QRectF(x, top, width, used.height()), flags, text);
        }
        return used.height();
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
        const double scale = height / kChartDrawingHeightPx;
        const QRectF frame(0, y_, kChartDrawingWidthPx * scale, height);
        if (draw_) {
            painter_.save();
            painter_.translate(frame.topLeft());
            painter_.scale(scale, scale);
            const QRectF area(0, 0, kChartDrawingWidthPx, kChartDrawingHeightPx);
            painter_.setClipRect(area);
            PainterSurface surface(painter_, area.size(), ReportChartFont());
            DrawPowerChart(state, surface, kReportChartStyle);
            DrawAxisTitles(painter_, kChartDrawingWidthPx, InChartPixels(AxisTitleFont()));
            painter_.restore();
            painter_.setPen(QPen(Qt::black, kTableRule));
            painter_.drawRect(frame);
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
