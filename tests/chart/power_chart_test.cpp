// SPDX-License-Identifier: Apache-2.0
// The power chart's geometry and drawing order on a recording surface, the
// line clipping that protects QPainter, and chart files written from a plain
// program (no QApplication).

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "chart_file.h"
#include "chart_geometry.h"
#include "painter_surface.h"
#include "power_chart.h"
#include "recording_surface.h"

namespace valdris {
namespace {

using Kind = RecordedOperation::Kind;

constexpr ChartColor kBlack{0, 0, 0};
constexpr ChartColor kRed{255, 0, 0};
constexpr ChartColor kBlue{0, 0, 255};

// The window's drawing area in twips, with MS Sans Serif's extent of the
// margin sample text.
RecordingSurface WindowSizedSurface() { return RecordingSurface(7755, 4635, 390, 195); }

// A design state with a plausible falling curve on the usual grid of 2.5
// percent steps, accumulated in single precision as the designs do.
DesignState StateWith(double dcgl, double lbgr) {
    DesignState state;
    state.DCGL = dcgl;
    state.LBGR = lbgr;
    const float step = static_cast<float>(0.025 * dcgl);
    for (int i = 1; i <= kCurvePoints; ++i) {
        state.CurveX[i] = static_cast<float>(static_cast<double>(state.CurveX[i - 1]) + step);
        const double relative = i / 40.0;
        state.CurvePower[i] = 1.0 / (1.0 + std::exp((relative - 0.75) * 12.0));
    }
    return state;
}

std::vector<RecordedOperation> Drawn(const DesignState& state) {
    RecordingSurface surface = WindowSizedSurface();
    DrawPowerChart(state, surface);
    return surface.Operations();
}

std::vector<RecordedOperation> OfKind(const std::vector<RecordedOperation>& ops, Kind kind) {
    std::vector<RecordedOperation> found;
    for (const RecordedOperation& op : ops) {
        if (op.kind == kind) found.push_back(op);
    }
    return found;
}

// Straight lines in drawing order: 2 axes, 11 horizontal grid lines,
// 16 vertical grid lines, the LBGR line.
constexpr int kFirstHorizontalGridLine = 2;
constexpr int kFirstVerticalGridLine = 13;
constexpr int kLBGRLine = 29;

TEST(ChartGeometry, WindowChartLaysOutAsDesigned) {
    struct Case {
        double dcgl;
        double xScale;
    };
    for (const Case c : {Case{1, 4280}, Case{3000, 6420 / 4500.0}, Case{1e30, 6420 / 1.5e30}, Case{0, 0}}) {
        SCOPED_TRACE(c.dcgl);
        const ChartGeometry g = ComputeChartGeometry(WindowSizedSurface(), c.dcgl);
        EXPECT_EQ(g.axisX, 890);
        EXPECT_EQ(g.bandH, 695);
        EXPECT_EQ(g.rightX, 7310);
        EXPECT_EQ(g.topY, 348);  // 347.5 goes to the even neighbour
        EXPECT_EQ(g.axisY, 3940);
        EXPECT_EQ(g.plotW, 6420);
        EXPECT_EQ(g.plotH, 3592);
        EXPECT_DOUBLE_EQ(g.xScale, c.xScale);
    }
}

TEST(ChartGeometry, SizesAndExtentsAreRoundedHalfToEven) {
    // 7754.5 -> 7754 and 389.5 + 500 -> 890, 195.5 + 500 -> 696 (even).
    const ChartGeometry g = ComputeChartGeometry(RecordingSurface(7754.5, 4635.5, 389.5, 195.5), 1);
    EXPECT_EQ(g.width, 7754);
    EXPECT_EQ(g.height, 4636);
    EXPECT_EQ(g.axisX, 890);
    EXPECT_EQ(g.bandH, 696);
    EXPECT_EQ(g.rightX, 7309);
    EXPECT_EQ(g.topY, 348);
}

TEST(PowerChart, AxesAndProbabilityGrid) {
    const std::vector<RecordedOperation> lines = OfKind(Drawn(StateWith(1, 0.5)), Kind::Line);
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(std::vector<double>({lines[0].x1, lines[0].y1, lines[0].x2, lines[0].y2}),
              std::vector<double>({890, 348, 890, 3940}));
    EXPECT_EQ(std::vector<double>({lines[1].x1, lines[1].y1, lines[1].x2, lines[1].y2}),
              std::vector<double>({890, 3940, 7310, 3940}));

    const double expected_y[11] = {3940, 3581, 3222, 2862, 2503, 2144, 1785, 1426, 1066, 707, 348};
    for (int j = 0; j < 11; ++j) {
        const RecordedOperation& grid = lines[kFirstHorizontalGridLine + j];
        SCOPED_TRACE(j);
        EXPECT_EQ(grid.x1, 850);  // a 40-unit tick left of the axis
        EXPECT_EQ(grid.x2, 7310);
        EXPECT_EQ(grid.y1, expected_y[j]);
        EXPECT_EQ(grid.y2, expected_y[j]);
        EXPECT_EQ(grid.color, kBlack);
    }
}

TEST(PowerChart, LabelsTextsPositionsAndColours) {
    const std::vector<RecordedOperation> texts = OfKind(Drawn(StateWith(1, 0.5)), Kind::Text);
    struct Label {
        const char* text;
        double x;
        double y;
        ChartColor color;
    };
    const Label expected[] = {
        {"0.0", 500, 3840, kBlack}, {"0.2", 500, 3122, kBlack}, {"0.4", 500, 2403, kBlack},
        {"0.6", 500, 1685, kBlack}, {"0.8", 500, 966, kBlack},  {"1.0", 500, 248, kBlack},
        {"10%", 1218, 3955, kBlack}, {"30%", 2074, 3955, kBlack}, {"50%", 2930, 3955, kBlack},
        {"70%", 3786, 3955, kBlack}, {"90%", 4642, 3955, kBlack}, {"100%", 5070, 3955, kRed},
        {"110%", 5498, 3955, kBlack}, {"130%", 6354, 3955, kBlack}, {"150%", 7210, 3955, kBlack},
    };
    ASSERT_EQ(texts.size(), std::size(expected));
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].x1, expected[i].x);
        EXPECT_EQ(texts[i].y1, expected[i].y);
        EXPECT_EQ(texts[i].color, expected[i].color);
    }
}

TEST(PowerChart, OnlyTheDCGLLineItsLabelAndTheLBGRLineAreRed) {
    const std::vector<RecordedOperation> ops = Drawn(StateWith(1, 0.5));
    const std::vector<RecordedOperation> lines = OfKind(ops, Kind::Line);
    for (int k = 0; k < 16; ++k) {
        const RecordedOperation& grid = lines[kFirstVerticalGridLine + k];
        SCOPED_TRACE(k + 1);
        EXPECT_EQ(grid.x1, 890 + 428 * k);
        EXPECT_EQ(grid.x2, grid.x1);
        EXPECT_EQ(grid.y1, 3980);  // a 40-unit tick below the axis
        EXPECT_EQ(grid.y2, 348);
        EXPECT_EQ(grid.color, k == 10 ? kRed : kBlack);
    }
    const RecordedOperation& lbgr = lines[kLBGRLine];
    EXPECT_EQ(lbgr.x1, 3030);
    EXPECT_EQ(lbgr.y1, 3980);
    EXPECT_EQ(lbgr.color, kRed);

    int red = 0;
    for (const RecordedOperation& op : ops) {
        if ((op.IsLine() || op.kind == Kind::Text) && op.color == kRed) ++red;
    }
    EXPECT_EQ(red, 3);
}

// The scale is not a whole number of twips per unit, so 150 percent lands on
// the axis end for every DCGL: a rounded scale ended the grid short of it in
// the thousands, ran past the plot above about 4600 and put everything on the
// axis from about 8600 on.
TEST(PowerChart, EveryDCGLSpansThePlot) {
    for (const double dcgl : {1.0, 3000.0, 5000.0, 1e6, 1e30}) {
        SCOPED_TRACE(dcgl);
        const std::vector<RecordedOperation> ops = Drawn(StateWith(dcgl, dcgl / 2));
        const std::vector<RecordedOperation> lines = OfKind(ops, Kind::Line);
        for (int k = 0; k < 16; ++k) {
            EXPECT_NEAR(lines[kFirstVerticalGridLine + k].x1, 890 + 428 * k, 0.5) << "k = " << k + 1;
        }
        EXPECT_EQ(lines[kFirstVerticalGridLine + 15].x1, 7310);
        EXPECT_EQ(lines[kLBGRLine].x1, 3030);
        for (const RecordedOperation& segment : OfKind(ops, Kind::LineTo)) {
            EXPECT_GE(segment.x2, 890);
            EXPECT_LE(segment.x2, 7310);
        }
        EXPECT_EQ(OfKind(ops, Kind::LineTo).back().x2, 7310);
        const std::vector<RecordedOperation> texts = OfKind(ops, Kind::Text);
        EXPECT_EQ(texts.back().text, "150%");
        EXPECT_EQ(texts.back().x1, 7210);
    }
}

TEST(PowerChart, ClearsFirstAndDrawsTheCurveLast) {
    const DesignState state = StateWith(1, 0.5);
    const std::vector<RecordedOperation> ops = Drawn(state);
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, Kind::PenColor);
    EXPECT_EQ(ops[0].color, kBlack);
    EXPECT_EQ(ops[1].kind, Kind::LineWidth);
    EXPECT_EQ(ops[1].line_width, 1);
    EXPECT_EQ(ops[2].kind, Kind::Clear);

    // The curve: blue, 2 px, one move and 59 segments, and nothing after it.
    const size_t first = ops.size() - kCurvePoints;
    EXPECT_EQ(ops[first - 2].kind, Kind::PenColor);
    EXPECT_EQ(ops[first - 1].kind, Kind::LineWidth);
    EXPECT_EQ(ops[first].kind, Kind::MoveTo);
    for (size_t i = first; i < ops.size(); ++i) {
        EXPECT_EQ(ops[i].color, kBlue);
        EXPECT_EQ(ops[i].line_width, 2);
        if (i > first) {
            EXPECT_EQ(ops[i].kind, Kind::LineTo);
        }
    }
    EXPECT_EQ(OfKind(ops, Kind::LineTo).size(), 59u);

    // It starts at 2.5 percent of the DCGL, not at the axis.
    EXPECT_EQ(ops[first].x1, 997);  // 890 + 4280 x 0.025
    EXPECT_EQ(ops[first].y1, std::nearbyint(3940 - 3592 * state.CurvePower[1]));
    EXPECT_EQ(ops.back().x2, std::nearbyint(4280 * static_cast<double>(state.CurveX[60]) + 890));
    EXPECT_EQ(ops.back().y2, std::nearbyint(3940 - 3592 * state.CurvePower[60]));
}

// The curve's x positions are formed in single precision, like the grid
// points. DCGL 4.6 on a plot 6417 wide (xScale 930 in single precision): the
// tenth point, 1.15 in single precision, lands on 1960, in double on 1959.
// DCGL 0.3 on a plot 4119 wide from an axis at 411: the single product lands
// on half a twip, which goes to the even 1098.
TEST(PowerChart, CurvePositionsAreFormedInSinglePrecision) {
    const struct {
        double dcgl, width, text_width;
        double point10_x;
    } cases[] = {
        {4.6, 7752, 390, 1960},
        {0.3, 4735, -89, 1098},  // the text measure only places the axis
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dcgl);
        DesignState state = StateWith(c.dcgl, c.dcgl / 2);
        const float step = static_cast<float>(c.dcgl / 40);
        for (int i = 1; i <= kCurvePoints; ++i) {
            state.CurveX[i] = static_cast<float>(static_cast<double>(step) + state.CurveX[i - 1]);
        }
        RecordingSurface surface(c.width, 4635, c.text_width, 195);
        DrawPowerChart(state, surface);
        const std::vector<RecordedOperation> curve = OfKind(surface.Operations(), Kind::LineTo);
        ASSERT_EQ(curve.size(), 59u);
        EXPECT_EQ(curve[8].x2, c.point10_x);  // the segment ending at point 10
    }
}

// The report's chart: a light grid under the axes drawn again in black, the
// percent labels centred (each text measures 390 here), the red lines named
// where the curve is not.
TEST(PowerChart, ReportStyleNamesTheRedLinesOnALightGrid) {
    RecordingSurface surface = WindowSizedSurface();
    DrawPowerChart(StateWith(1, 0.5), surface, kReportChartStyle);
    const std::vector<RecordedOperation> lines = OfKind(surface.Operations(), Kind::Line);
    for (int i = kFirstHorizontalGridLine; i < kLBGRLine; ++i) {
        EXPECT_EQ(lines[i].color, i == kFirstVerticalGridLine + 10 ? kRed : kReportChartStyle.grid) << i;
    }
    EXPECT_TRUE(lines[29].color == kBlack && lines[30].color == kBlack && lines[31].color == kRed);
    std::string texts;
    for (const RecordedOperation& t : OfKind(surface.Operations(), Kind::Text)) {
        texts += t.text + "@" + std::to_string(int(t.x1)) + "," + std::to_string(int(t.y1)) + (t.color == kRed ? "r " : " ");
    }
    for (const char* text : {"90%@4547,3955 ", "100%@4975,3955r ", "110%@5403,3955 ", "LBGR@2610,3715r ", "DCGL@5200,378r "}) {
        EXPECT_NE(texts.find(text), std::string::npos) << text << " in " << texts;
    }
}

TEST(PowerChart, ExtremeDCGLsGiveFiniteCoordinates) {
    for (const double dcgl : {1e-30, 1e-5, 1e30, 0.0}) {
        SCOPED_TRACE(dcgl);
        const std::vector<RecordedOperation> ops = Drawn(StateWith(dcgl, dcgl / 2));
        for (const RecordedOperation& op : ops) {
            ASSERT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
                        std::isfinite(op.y2));
        }
    }
    // A tiny DCGL scales up: the layout is the same as for a DCGL of 1.
    const std::vector<RecordedOperation> tiny = OfKind(Drawn(StateWith(1e-30, 0.5e-30)), Kind::Line);
    EXPECT_EQ(tiny[kFirstVerticalGridLine + 10].x1, 5170);
    EXPECT_EQ(tiny[kLBGRLine].x1, 3030);
}

TEST(ClipLine, KeepsTheVisiblePartAndItsDirection) {
    const QRectF area(0, 0, 100, 50);
    struct Case {
        QLineF line;
        bool visible;
        QLineF expected;
    };
    const Case cases[] = {
        {QLineF(10, 10, 90, 40), true, QLineF(10, 10, 90, 40)},      // inside, untouched
        {QLineF(-100, 25, 200, 25), true, QLineF(0, 25, 100, 25)},   // across
        {QLineF(50, 25, 150, 75), true, QLineF(50, 25, 100, 50)},    // leaves at a corner
        {QLineF(-1e300, 10, 1e300, 10), true, QLineF(0, 10, 100, 10)},  // far ends
        {QLineF(10, -1e300, 10, 40), true, QLineF(10, 0, 10, 40)},
        {QLineF(-10, -10, -5, 60), false, {}},  // beside it
        {QLineF(0, 60, 100, 70), false, {}},    // below it
        {QLineF(std::nan(""), 0, 10, 10), false, {}},
        {QLineF(0, 0, HUGE_VAL, 10), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.line.x1() << "," << c.line.y1() << " " << c.line.x2() << ","
                                        << c.line.y2());
        const std::optional<QLineF> clipped = ClipLine(c.line, area);
        ASSERT_EQ(clipped.has_value(), c.visible);
        if (!c.visible) continue;
        EXPECT_NEAR(clipped->x1(), c.expected.x1(), 1e-9);
        EXPECT_NEAR(clipped->y1(), c.expected.y1(), 1e-9);
        EXPECT_NEAR(clipped->x2(), c.expected.x2(), 1e-9);
        EXPECT_NEAR(clipped->y2(), c.expected.y2(), 1e-9);
    }
}

// Chart files are drawn inside the QApplication the program (here the test) made.
class ChartFile : public testing::Test {
protected:
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }
    QTemporaryDir dir_;
};

TEST_F(ChartFile, PngHasTheChartSizeAndTheCurve) {
    const std::string path = PathOf("chart.png");
    const auto written = WriteChartFile(StateWith(1, 0.5), path);
    ASSERT_TRUE(written) << written.message();
    const QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.size(), QSize(kChartDrawingWidthPx, kChartDrawingHeightPx));
    bool blue = false;
    for (int y = 0; y < image.height() && !blue; ++y) {
        for (int x = 0; x < image.width() && !blue; ++x) blue = image.pixel(x, y) == qRgb(0, 0, 255);
    }
    EXPECT_TRUE(blue);
    EXPECT_EQ(image.pixel(image.width() - 1, 0), qRgb(255, 255, 255));
}

// Each size is drawn at its own pixels and states its resolution.
TEST_F(ChartFile, PngIsDrawnAtTheSizeAskedFor) {
    struct Case {
        ChartImageSize size;
        QPageSize::PageSizeId paper;
        QSize pixels;
        int dots_per_inch;
    };
    const Case cases[] = {
        {ChartImageSize::Screen, QPageSize::A4, {517, 309}, 96},
        {ChartImageSize::Double, QPageSize::A4, {1034, 618}, 192},
        // 174 mm (A4 less two 18 mm margins) and 179.9 mm (Letter) at 300 dpi.
        {ChartImageSize::Report300Dpi, QPageSize::A4, {2055, 1228}, 300},
        {ChartImageSize::Report300Dpi, QPageSize::Letter, {2125, 1270}, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dots_per_inch);
        const std::string path = PathOf("sized.png");
        const auto written = WriteChartFile(StateWith(1, 0.5), path, ReadOnlyFile::Refuse,
                                            ResolutionOf(c.size, QPageSize(c.paper)));
        ASSERT_TRUE(written) << written.message();
        const QImage image(QString::fromStdString(path));
        EXPECT_EQ(image.size(), c.pixels);
        EXPECT_EQ(std::lround(image.dotsPerMeterX() * 0.0254), c.dots_per_inch);
        EXPECT_EQ(image.pixel(image.width() - 1, 0), qRgb(255, 255, 255));
    }
}

// Enlarged pixels would come in uniform 2 x 2 blocks; a drawing at twice the
// size has edges (text, the curve) that fall within a block.
TEST_F(ChartFile, TwiceTheSizeIsDrawnNotEnlarged) {
    const QImage image = ChartImage(StateWith(1, 0.5), ScreenResolution(2));
    ASSERT_EQ(image.size(), QSize(1034, 618));
    int split_blocks = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p) ++split_blocks;
        }
    }
    EXPECT_GT(split_blocks, 100);
}

TEST(ChartPixelSize, FollowsTheRatioToTheNearestPixel) {
    const std::pair<double, QSize> cases[] = {
        {1, {517, 309}}, {1.25, {646, 386}}, {1.5, {776, 464}}, {2, {1034, 618}}};
    for (const auto& [ratio, pixels] : cases) EXPECT_EQ(ChartPixelSize(ratio), pixels) << ratio;
}

TEST_F(ChartFile, SvgIsAVectorDrawingOfTheChart) {
    const std::string path = PathOf("chart.SVG");
    const auto written = WriteChartFile(StateWith(1, 0.5), path);
    ASSERT_TRUE(written) << written.message();
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 517 309\""));
    EXPECT_TRUE(svg.contains("100%"));
}

TEST_F(ChartFile, RefusesWhatItCannotWrite) {
    struct Case {
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {PathOf("chart.bmp"), ".png or .svg"},
        {PathOf("chart"), ".png or .svg"},
        {PathOf("no-such-directory/chart.png"), "could not be written"},
        {dir_.path().toStdString() + "/.svg/", ".png or .svg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto written = WriteChartFile(StateWith(1, 0.5), c.path);
        EXPECT_FALSE(written);
        EXPECT_NE(written.message().find(c.reason), std::string::npos) << written.message();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(c.path)));
    }
}

}  // namespace
}  // namespace valdris
