// SPDX-License-Identifier: Apache-2.0
// The unit's sample layout, elevated-area check and sum of fractions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <optional>
#include <string>
#include <vector>

#include "field_messages.h"
#include "field_texts.h"
#include "number_text.h"

namespace valdris {
namespace {

const AreaFactorTable kTable = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 1.1}};

TEST(SampleGrid, SpacingTexts) {
    struct Case { GridType type; double area; int n; const char* spacing; };
    const Case cases[] = {
        {GridType::Triangular, 2000, 20, "10.75"}, {GridType::Square, 2000, 20, "10.00"},
        {GridType::Square, 2000, 110, "4.26"},     {GridType::Triangular, 2000, 110, "4.58"},
    };
    for (const Case& c : cases) EXPECT_EQ(LengthText(GridSpacing(c.type, c.area, c.n)), c.spacing) << c.n;
}

// Golden starts from an independent implementation of MT19937-64.
TEST(SampleGrid, StartIsTheSeededGeneratorsFirstTwoUniforms) {
    struct Case { GridType type; std::uint64_t seed; double x; double y; };
    const Case cases[] = {
        {GridType::Square, 42, 0.755155532954539, 0.6390313938546974},
        {GridType::Square, 2026, 0.31749613579856173, 0.6543572691211842},
        {GridType::Triangular, 42, 0.755155532954539, 0.6390313938546974 * 0.866},
    };
    for (const Case& c : cases) {
        const GridPoint start = RandomStart(c.type, 1.0, c.seed);
        EXPECT_EQ(start.x, c.x) << c.seed;
        EXPECT_EQ(start.y, c.y) << c.seed;
    }
}

// Counts the lattice points inside by brute force, negative steps included.
std::size_t LatticePointsInside(const SampleLayout& layout) {
    const double row = RowSpacing(layout.type, layout.spacing);
    std::size_t count = 0;
    for (int j = -2; j * row < layout.height + 2 * row; ++j) {
        const double shift = layout.type == GridType::Triangular && j % 2 != 0 ? 0.5 : 0.0;
        const double y = layout.start.y + j * row;
        for (int i = -2; i * layout.spacing < layout.width + 2 * layout.spacing; ++i) {
            const double x = layout.start.x + (i + shift) * layout.spacing;
            count += x >= 0 && x < layout.width && y >= 0 && y < layout.height;
        }
    }
    return count;
}

TEST(SampleGrid, LocationsLieInsideOnTheLatticeAndRepeat) {
    struct Case { GridType type; UnitSize size; int n; std::uint64_t seed; };
    const Case cases[] = {
        {GridType::Triangular, *SizeFromRectangle(50, 40), 20, 1},
        {GridType::Square, *SizeFromRectangle(50, 40), 20, 7},
        {GridType::Triangular, *SizeFromArea(2000), 110, 42},
        {GridType::Triangular, *SizeFromRectangle(300, 2), 15, 9},
        {GridType::Square, *SizeFromRectangle(0.5, 80), 12, 3},
        {GridType::Square, *SizeFromRectangle(10, 10), 4, 5},  // exactly 4 inside, whatever the start
    };
    for (const Case& c : cases) {
        const SampleLayout layout = *LayOutSamples(c.type, c.size, c.n, c.seed);
        const double row = RowSpacing(c.type, layout.spacing);
        EXPECT_EQ(layout.points.size(), LatticePointsInside(layout)) << c.seed;
        for (const GridPoint& p : layout.points) {
            ASSERT_TRUE(p.x >= 0 && p.x < layout.width && p.y >= 0 && p.y < layout.height) << c.seed;
            const double j = (p.y - layout.start.y) / row;
            const double shift = c.type == GridType::Triangular && std::lround(j) % 2 != 0 ? 0.5 : 0.0;
            const double i = (p.x - layout.start.x) / layout.spacing - shift;
            EXPECT_NEAR(j, std::round(j), 1e-9);
            EXPECT_NEAR(i, std::round(i), 1e-9);
        }
        const SampleLayout again = *LayOutSamples(c.type, c.size, c.n, c.seed);
        ASSERT_EQ(again.points.size(), layout.points.size());
        for (std::size_t k = 0; k < layout.points.size(); ++k) EXPECT_EQ(again.points[k].x, layout.points[k].x);
        EXPECT_NE(LayOutSamples(c.type, c.size, c.n, c.seed + 1)->start.x, layout.start.x);
        EXPECT_EQ(MoreLocationsNote(layout).empty(), layout.points.size() >= static_cast<std::size_t>(c.n));

        // The file reads back to the very same coordinates.
        std::istringstream csv(LocationsCsv(layout));
        std::string line;
        std::getline(csv, line);
        EXPECT_EQ(line, "id,x,y");
        for (std::size_t k = 0; std::getline(csv, line); ++k) {
            double x = 0, y = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%*d,%lf,%lf", &x, &y), 2);
            EXPECT_TRUE(x == layout.points[k].x && y == layout.points[k].y) << line;
        }

        // To set the points out: millimetres, each within half of one.
        std::istringstream set_out(LocationsCsv(layout, kSetOutDecimals));
        std::getline(set_out, line);
        EXPECT_EQ(line, "id,x,y");
        std::size_t rows = 0;
        for (; std::getline(set_out, line); ++rows) {
            double x = 0, y = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%*d,%lf,%lf", &x, &y), 2);
            const std::size_t point = line.find('.');
            ASSERT_NE(point, std::string::npos) << line;
            EXPECT_EQ(line.find(',', point), point + 4) << line;
            EXPECT_EQ(line.size() - line.rfind('.'), 4u) << line;
            EXPECT_LE(std::abs(x - layout.points[rows].x), 0.0005 + 1e-9) << line;
            EXPECT_LE(std::abs(y - layout.points[rows].y), 0.0005 + 1e-9) << line;
        }
        EXPECT_EQ(rows, layout.points.size());
    }
}

// A large file is handed over in bounded pieces of whole lines that join to
// the same bytes; the sink's first failure stops the writing and is told.
TEST(SampleGrid, LocationsAreStreamedInBoundedPiecesAndStopAtAFailure) {
    const struct {
        int samples;
        int fail_at;  // the piece the sink refuses; -1: none
        std::size_t fewest_pieces;
    } cases[] = {{20, -1, 1}, {20, 0, 1}, {20000, -1, 8}, {20000, 2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.samples) + " samples, failing at " + std::to_string(c.fail_at));
        const SampleLayout layout =
            *LayOutSamples(GridType::Triangular, *SizeFromRectangle(3000, 2000), c.samples, 7);
        std::vector<std::string> pieces;
        const std::string failure = StreamLocationsCsv(layout, [&](std::string_view piece) {
            pieces.emplace_back(piece);
            return int(pieces.size()) - 1 == c.fail_at ? std::string("disk full") : std::string();
        });
        if (c.fail_at >= 0) {
            EXPECT_EQ(failure, "disk full");
            EXPECT_EQ(pieces.size(), std::size_t(c.fail_at) + 1);
            continue;
        }
        EXPECT_EQ(failure, "");
        EXPECT_GE(pieces.size(), c.fewest_pieces);
        std::string joined;
        for (const std::string& piece : pieces) {
            EXPECT_LE(piece.size(), std::size_t(1 << 16) + 100);
            EXPECT_EQ(piece.back(), '\n');
            joined += piece;
        }
        std::string expected = "id,x,y\n";
        for (std::size_t k = 0; k < layout.points.size(); ++k) {
            expected += std::to_string(k + 1) + "," + ExactNumber(layout.points[k].x) + "," +
                        ExactNumber(layout.points[k].y) + "\n";
        }
        EXPECT_EQ(joined, expected);
        EXPECT_EQ(LocationsCsv(layout), expected);
    }
}

TEST(SampleGrid, RefusesUnusableSizesSeedsAndHugeGrids) {
    const std::pair<Outcome<UnitSize>, RefusalKind> sizes[] = {
        {SizeFromArea(0), RefusalKind::AreaUnusable},
        {SizeFromArea(NAN), RefusalKind::AreaUnusable},
        {SizeFromArea(2e9), RefusalKind::AreaUnusable},
        {SizeFromRectangle(-1, 5), RefusalKind::WidthUnusable},
        {SizeFromRectangle(5, INFINITY), RefusalKind::HeightUnusable},
        {SizeFromRectangle(1e5, 1e5), RefusalKind::RectangleUnusable},
    };
    for (const auto& [checked, kind] : sizes) {
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.refusal().kind, kind);
        EXPECT_EQ(checked.message(), field::Message(kind).text);
    }
    const std::pair<const char*, std::optional<std::uint64_t>> seeds[] = {
        {"0", 0}, {" 42\t", 42}, {"9007199254740991", 9007199254740991ULL}, {"9007199254740992", std::nullopt},
        {"-1", std::nullopt}, {"1.5", std::nullopt}, {"", std::nullopt}, {"1e3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, seed] : seeds) {
        const Outcome<std::uint64_t> checked = ReadSeed(text);
        EXPECT_EQ(checked ? std::optional<std::uint64_t>(*checked) : std::nullopt, seed) << text;
        EXPECT_EQ(checked ? std::nullopt : std::optional<RefusalKind>(checked.refusal().kind),
                  seed ? std::nullopt : std::optional<RefusalKind>(RefusalKind::SeedUnusable))
            << text;
    }
    const std::pair<double, std::optional<std::uint64_t>> numbers[] = {
        {42, 42}, {9007199254740991.0, 9007199254740991ULL}, {9007199254740992.0, std::nullopt},
        {0.5, std::nullopt}, {-1, std::nullopt}, {NAN, std::nullopt}, {INFINITY, std::nullopt},
    };
    for (const auto& [number, seed] : numbers) {
        const Outcome<std::uint64_t> checked = SeedFromNumber(number);
        EXPECT_EQ(checked ? std::optional<std::uint64_t>(*checked) : std::nullopt, seed) << number;
    }
    EXPECT_LE(DrawSeed(), field::kLargestSeed);
    // A long thin strip visits far more grid points than it has samples.
    const Outcome<SampleLayout> strip = LayOutSamples(GridType::Square, *SizeFromRectangle(1e9, 1e-6), 1, 1);
    ASSERT_FALSE(strip);
    EXPECT_EQ(strip.refusal().kind, RefusalKind::TooManyLocations);
    EXPECT_EQ(strip.message(), field::kTooManyLocations);
}

TEST(ElevatedAreas, FactorTableIsInterpolatedOnLogScales) {
    const std::pair<double, double> factors[] = {
        {0.5, 10}, {1, 10}, {10, 3}, {100, 1.5}, {1000, 1.1}, {5000, 1.1}, {std::sqrt(1000.0), std::sqrt(4.5)},
    };
    for (const auto& [area, factor] : factors) EXPECT_NEAR(AreaFactorAt(kTable, area), factor, 1e-14) << area;
    EXPECT_EQ(AreaFactorAt(kTable, 100), 1.5);  // a pair's own factor, exactly
    const std::pair<double, double> areas[] = {{20, 1}, {10, 1}, {3, 10}, {1.5, 100}, {2.5, 18.324595883941466}};
    for (const auto& [factor, area] : areas) EXPECT_NEAR(AreaForFactor(kTable, factor), area, 1e-12) << factor;
    const AreaFactorTable flat = {{1, 10}, {10, 3}, {100, 3}, {1000, 1.1}};
    EXPECT_EQ(AreaForFactor(flat, 3), 100);  // the largest area still reaching it
    for (const double f : {9.0, 2.0, 1.2}) EXPECT_NEAR(AreaFactorAt(kTable, AreaForFactor(kTable, f)), f, 1e-13);
}

TEST(ElevatedAreas, RefusesBadTables) {
    const std::pair<AreaFactorTable, std::string> cases[] = {
        {{{1, 10}}, field::kAreaFactorsTooFew},
        {{{0, 10}, {10, 3}}, field::AreaFactorAreaRefusal(0).text},
        {{{1, 10}, {NAN, 3}}, field::AreaFactorAreaRefusal(NAN).text},
        {{{1, 10}, {1, 3}}, field::AreaFactorAreasOrderRefusal(1, 1).text},
        {{{10, 10}, {1, 3}}, field::AreaFactorAreasOrderRefusal(10, 1).text},
        {{{1, 10}, {10, 0.9}}, field::AreaFactorFactorRefusal(0.9).text},
        {{{1, INFINITY}, {10, 3}}, field::AreaFactorFactorRefusal(INFINITY).text},
        {{{1, 3}, {10, 4}}, field::AreaFactorFactorsOrderRefusal(3, 4).text},
    };
    for (const auto& [table, text] : cases) EXPECT_EQ(AreaFactorTableRefusal(table)->text, text) << text;
    EXPECT_FALSE(AreaFactorTableRefusal({{1, 3}, {10, 3}}));
    EXPECT_EQ(CheckElevatedAreas(kTable, 0, 2000, 20, 1).message(), field::kScanMDCUnusable);
    EXPECT_EQ(CheckElevatedAreas(kTable, 1e300, 1e9, 20, 1).message(), field::kTooManyElevatedAreaSamples);
}

TEST(ElevatedAreas, WorkedExamplesAndTheirTexts) {
    struct Case { double mdc; double dcgl; std::vector<std::string> values; double area = 2000; };
    const Case cases[] = {
        {2.5, 1, {"100", "1.5", "1.5", "2.5", "No", "18.32", "110", "110"}},  // A_EA 18.3246
        {1.5, 1, {"100", "1.5", "1.5", "1.5", "Yes", "20"}},
        {50, 1, {"100", "1.5", "1.5", "50", "No", "1.00", "2000", "2000"}},  // beyond the first factor
        {2.5, 2, {"100", "1.5", "3", "2.5", "Yes", "20"}},
        {50, 1, {"0.5", "10", "10", "50", "No", "1.00", "10", "20"}, 10},  // n_EA below N: N stays
    };
    for (const Case& c : cases) {
        const ElevatedAreaCheck check = *CheckElevatedAreas(kTable, c.mdc, c.area, 20, c.dcgl);
        std::vector<std::string> values;
        for (const ReportLine& line : ElevatedAreaLines(check)) values.push_back(line.value);
        EXPECT_EQ(values, c.values) << c.mdc;
        EXPECT_EQ(check.n_ea.has_value(), !check.adequate);
    }
}

TEST(SumOfFractions, CombinesNuclidesIntoTheDesign) {
    const std::vector<Nuclide> example = {{"Co-60", 5, 0.5, 1}, {"Cs-137", 10, 2, 3}};
    const SumOfFractions sum = CombineNuclides(example);
    EXPECT_NEAR(sum.sigma, std::sqrt(0.05), 1e-16);
    EXPECT_EQ(sum.lbgr, 0.5);
    EXPECT_EQ(sum.gross_dcgl, 8.0);
    std::vector<std::string> values;
    for (const ReportLine& line : SumOfFractionsLines(example, sum)) values.push_back(line.value);
    EXPECT_EQ(values, (std::vector<std::string>{"DCGL 5, sigma 0.5, concentration 1",
                                                "DCGL 10, sigma 2, concentration 3", "0.2236068", "0.5", "8"}));
    const Outcome<DesignState> run = RunDesign(TestKind::Sign, SumOfFractionsInputs(DesignInputs{}, sum));
    EXPECT_EQ(run->Sigma, 0.2236068f);
    EXPECT_EQ(run->DCGL, 1.0);
    EXPECT_EQ(run->LBGR, 0.5);
    EXPECT_EQ(NuclideListText(example), "Co-60, Cs-137");

    // Without every concentration the entered LBGR stays; with all zero there is no gross DCGL.
    const SumOfFractions partial = CombineNuclides({{"Co-60", 5, 0.5, 1}, {"Cs-137", 10, 2, std::nullopt}});
    EXPECT_FALSE(partial.lbgr || partial.gross_dcgl);
    EXPECT_EQ(SumOfFractionsInputs(DesignInputs{0.05, 0.05, 9, 7, 0.3}, partial).lbgr, 0.3);
    const SumOfFractions zero = CombineNuclides({{"Co-60", 5, 0.5, 0}});
    EXPECT_EQ(zero.lbgr, 0.0);
    EXPECT_FALSE(zero.gross_dcgl);
}

std::vector<Nuclide> ManyNuclides(std::size_t count) {
    std::vector<Nuclide> nuclides;
    for (std::size_t i = 0; i < count; ++i) nuclides.push_back({"N-" + std::to_string(i), 5, 0.5, 1});
    return nuclides;
}

TEST(SumOfFractions, RefusesBadNuclides) {
    EXPECT_FALSE(NuclidesRefusal(ManyNuclides(field::kMostNuclides)));
    const std::pair<std::vector<Nuclide>, std::string> cases[] = {
        {{{" ", 5, 0.5, 1}}, field::kNuclideNameMissing},
        {{{"Co-60", 0, 0.5, 1}}, field::NuclideDCGLRefusal("Co-60").text},
        {{{"Co-60", 2e9, 0.5, 1}}, field::NuclideDCGLRefusal("Co-60").text},
        {{{"Co-60", 5, -0.5, 1}}, field::NuclideSigmaRefusal("Co-60").text},
        {{{"Co-60", 5, NAN, 1}}, field::NuclideSigmaRefusal("Co-60").text},
        {{{"Co-60", 5, 0.5, -1}}, field::NuclideConcentrationRefusal("Co-60").text},
        {{{"Co-60", 5, 0.5, INFINITY}}, field::NuclideConcentrationRefusal("Co-60").text},
        {{{"Co-60", 5, 0.5, 1}, {"Co-60", 10, 2, 3}}, field::NuclideTwiceRefusal("Co-60").text},
        // The first name given twice, in the order of the list.
        {{{"A", 5, 0.5, 1}, {"B", 5, 0.5, 1}, {"B", 5, 0.5, 1}, {"A", 5, 0.5, 1}}, field::NuclideTwiceRefusal("B").text},
        {ManyNuclides(field::kMostNuclides + 1), field::kTooManyNuclides},
    };
    for (const auto& [nuclides, text] : cases) EXPECT_EQ(NuclidesRefusal(nuclides)->text, text) << text;
    EXPECT_EQ(NuclidesRefusal(ManyNuclides(field::kMostNuclides + 1))->kind, RefusalKind::TooManyNuclides);
}

}  // namespace
}  // namespace valdris
