// SPDX-License-Identifier: Apache-2.0
#pragma once
// Where the samples of a survey unit go: the spacing of a systematic grid for
// n samples and the grid points from a random start.
//
// Triangular grid: L = sqrt(A / (0.866 n)), rows 0.866 L apart, every other
// row shifted by L / 2. Square grid: L = sqrt(A / n). The start (x0, y0) is
// uniform in [0, L) x [0, row spacing); the points are those inside
// [0, W) x [0, H).
//
// Why: each point of a triangular lattice with side L holds a rhombus of
// area (sqrt(3) / 2) L^2, 0.866 L^2, and each point of a square lattice
// L^2, so n points spread over A give the spacings above; the rows of the
// triangular lattice are the triangles' heights apart. A start uniform over
// one cell gives every place in the unit the same chance of being sampled,
// which makes the grid a systematic sample with a random start:
//   W. G. Cochran, Sampling Techniques, 3rd ed., Wiley, 1977, chapter 8.
//
// The random numbers are std::mt19937_64 seeded with the seed, each uniform
// taken as (next() >> 11) x 2^-53, x first: the generator's output is fixed
// by the C++ standard, so a seed gives the same start on every machine.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "boundary.h"
#include "input_rules.h"
#include "outcome.h"

namespace valdris {

enum class GridType { Triangular, Square };

// The row spacing of the triangular grid, as a share of L.
constexpr double kTriangularRowShare = 0.866;

// The unit's size: a rectangle W x H, or an area alone, laid out as a square
// of side sqrt(A).
struct UnitSize {
    double area = 0;
    std::optional<double> width;
    std::optional<double> height;
};

// The size checked: from the area alone, or from W and H (A = W H).
// A side or an area the grid can be laid on (between the smallest and the
// largest size a unit may have).
bool SizeUsable(double value);
Outcome<UnitSize> SizeFromArea(double area);
Outcome<UnitSize> SizeFromRectangle(double width, double height);

double RectangleWidth(const UnitSize& size);   // W, or sqrt(A)
double RectangleHeight(const UnitSize& size);  // H, or sqrt(A)

// L for n samples (n >= 1) on an area within the size limits.
double GridSpacing(GridType type, double area, int samples);
// The distance between rows: 0.866 L or L.
double RowSpacing(GridType type, double spacing);

// "triangular" or "square", and back (case-insensitive; nothing else).
const char* GridTypeName(GridType type);
std::optional<GridType> GridTypeFromName(std::string_view name);

// A seed typed as whole decimal digits (blanks around allowed), from 0 to
// 2^53 - 1 so that a plan file's number holds it exactly; else a refusal.
Outcome<std::uint64_t> ReadSeed(std::string_view text);
// The same range for a seed a file holds as a number: whole, not negative.
Outcome<std::uint64_t> SeedFromNumber(double value);
// A fresh seed in that range from the system's random device ("New Seed").
std::uint64_t DrawSeed();

// The first two uniforms of the seeded generator, scaled to [0, L) and
// [0, row spacing).
GridPoint RandomStart(GridType type, double spacing, std::uint64_t seed);

// A laid-out grid: the points inside the rectangle, row by row from y = 0,
// each row from x = 0; the location numbered k is points[k - 1].
struct SampleLayout {
    GridType type = GridType::Triangular;
    double width = 0;
    double height = 0;
    int samples = 0;  // n the spacing is for
    double spacing = 0;
    std::uint64_t seed = 0;
    GridPoint start;
    std::vector<GridPoint> points;
    // What the points were laid in: the unit's drawn boundary, or the
    // rectangle [0, W) x [0, H) of a unit without one.
    Boundary boundary;
    // Over a drawn boundary: the grid's angle (degrees), its origin, and the
    // seeded random points added inside (the last ones) when too few grid
    // points fit.
    double angle = 0;
    GridPoint origin;
    int added_points = 0;

    // Fewer grid points fall inside than samples are needed.
    bool MoreLocationsNeeded() const { return static_cast<long long>(points.size()) < samples; }
};

// Lays out n samples on the unit; refused only when the grid would hold
// more points than a plan can list.
Outcome<SampleLayout> LayOutSamples(GridType type, const UnitSize& size, int samples, std::uint64_t seed);

}  // namespace valdris
