// SPDX-License-Identifier: Apache-2.0
#include "chart_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QBuffer>
#include <QPainter>
#include <QFontInfo>
#include <QSvgGenerator>
#include <cmath>

#include "axis_titles.h"
#include "chart_geometry.h"
#include "painter_surface.h"
#include "typefaces.h"
#include "power_chart.h"
#include "report_file.h"
#include "safe_file.h"

namespace valdris {
namespace {

enum class ChartFileType { Unknown, Png, Svg };

ChartFileType TypeOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return ChartFileType::Png;
    if (suffix == QLatin1String("svg")) return ChartFileType::Svg;
    return ChartFileType::Unknown;
}

// Fonts and images need a QGuiApplication, which the program that draws
// makes before it asks for a chart.
Outcome<Done> EnsureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return Outcome<Done>::Failure(RefusalKind::ChartUndrawable, "The chart cannot be drawn: the program runs without graphics support.");
    }
    return Done{};
}

constexpr QSize kChartSizePx(kChartDrawingWidthPx, kChartDrawingHeightPx);

constexpr double kScreenDotsPerInch = 96;
constexpr double kPrintDotsPerInch = 300;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kMetresPerInch = 0.0254;

// The chart with the axis titles the window lays over it.
void Draw(const DesignState& state, QPainter& painter) {
    PainterSurface surface(painter, QSizeF(kChartSizePx));
    DrawPowerChart(state, surface);
    DrawAxisTitles(painter, kChartSizePx.width(), AxisTitleFont());
}

QString WritePng(const DesignState& state, ChartResolution resolution, QIODevice& file) {
    QImageWriter writer(&file, "png");
    if (!writer.write(ChartImage(state, resolution))) return writer.errorString();
    return {};
}

// QSvgGenerator names only the first family of a font, which fontconfig may
// take for a wider face than the one the chart was measured with. Name the
// installed face first, then the rest of the substitute list, ending in a
// generic one.
QByteArray WithFontSubstitutes(QByteArray svg, const QFont& font) {
    QStringList faces = SubstituteFamilies(font);
    faces.prepend(QFontInfo(font).family());
    faces.removeDuplicates();
    QStringList names;
    for (const QString& family : faces) {
        const bool generic = family == QLatin1String("sans-serif") || family == QLatin1String("serif");
        names << (generic ? family : QLatin1Char('\'') + family + QLatin1Char('\''));
    }
    const QByteArray named = "font-family=\"" + font.family().toUtf8() + "\"";
    return svg.replace(named, "font-family=\"" + names.join(QStringLiteral(", ")).toUtf8() + "\"");
}

QString WriteSvg(const DesignState& state, QIODevice& file) {
    QBuffer drawing;
    drawing.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&drawing);
    generator.setSize(kChartSizePx);
    generator.setViewBox(QRect(QPoint(0, 0), kChartSizePx));
    // The screen's resolution, so that text measures as it does in the window.
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Power curve"));
    QPainter painter;
    if (!painter.begin(&generator)) return QStringLiteral("the drawing could not be started");
    Draw(state, painter);
    painter.end();
    QByteArray svg = drawing.data();
    for (const QFont& font : {ChartFont(), AxisTitleFont()}) svg = WithFontSubstitutes(svg, font);
    if (file.write(svg) != svg.size()) return file.errorString();
    return {};
}

}  // namespace

Outcome<Done> WriteChartFile(const DesignState& state, const std::string& path, ReadOnlyFile read_only,
                             ChartResolution resolution) {
    const QString file_name = QString::fromStdString(path);
    const ChartFileType type = TypeOf(file_name);
    if (type == ChartFileType::Unknown) {
        return Outcome<Done>::Failure(RefusalKind::ChartNameUnusable, "The chart file name must end in .png or .svg: " + path);
    }
    if (auto drawable = EnsureGuiApplication(); !drawable) return drawable;

    const Outcome<Done> written = WriteFileSafely(file_name, [&](QIODevice& file) {
        return type == ChartFileType::Png ? WritePng(state, resolution, file) : WriteSvg(state, file);
    }, read_only);
    if (written) return written;
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten, FileFailureMessage("The chart", file_name, QString::fromStdString(written.message())));
}

ChartResolution ScreenResolution(double ratio) { return {ratio, ratio * kScreenDotsPerInch}; }

ChartResolution ResolutionOf(ChartImageSize size, const QPageSize& paper) {
    switch (size) {
    case ChartImageSize::Screen:
        return ScreenResolution(1);
    case ChartImageSize::Double:
        return ScreenResolution(2);
    case ChartImageSize::Report300Dpi: {
        const double inches = ReportWidthMillimetres(paper) / kMillimetresPerInch;
        const double pixels = std::round(inches * kPrintDotsPerInch);
        return {pixels / kChartSizePx.width(), kPrintDotsPerInch};
    }
    }
    return {};
}

QSize ChartPixelSize(double ratio) {
    return {static_cast<int>(std::lround(kChartSizePx.width() * ratio)),
            static_cast<int>(std::lround(kChartSizePx.height() * ratio))};
}

// Drawn in the window's logical pixels on an image of more device pixels, so
// that lines, curve and text are as sharp as its pixels allow. The resolution
// is set once the drawing is done: fonts are sized by the image's resolution
// while it is drawn on, which must stay the screen's.
QImage ChartImage(const DesignState& state, ChartResolution resolution) {
    QImage image(ChartPixelSize(resolution.ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(resolution.ratio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        Draw(state, painter);
    }
    const int dots_per_metre = static_cast<int>(std::lround(resolution.dots_per_inch / kMetresPerInch));
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    image.setDevicePixelRatio(1);
    return image;
}

}  // namespace valdris
