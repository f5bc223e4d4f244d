// SPDX-License-Identifier: Apache-2.0
#include "boundary_layout.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "field_messages.h"

namespace valdris {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Each tightening step shrinks the spacing by 1 %; a thousand steps end far
// below any spacing that could still fail for want of room.
constexpr double kTightenStep = 0.99;
constexpr int kMostTightenings = 1000;
// Random points drawn over the extent before giving up on a sliver of a
// boundary: a hundred times the points wanted, at least ten thousand.
constexpr long long kLeastDraws = 10000;

struct Frame {
    GridPoint origin;
    double cos_a;
    double sin_a;
    // From grid coordinates (u along the rows, v across them) to the site's.
    GridPoint ToSite(double u, double v) const {
        return {origin.x + u * cos_a - v * sin_a, origin.y + u * sin_a + v * cos_a};
    }
    GridPoint ToGrid(const GridPoint& p) const {
        const double dx = p.x - origin.x;
        const double dy = p.y - origin.y;
        return {dx * cos_a + dy * sin_a, -dx * sin_a + dy * cos_a};
    }
};

Frame FrameOf(const SiteGrid& site) {
    const BoundaryExtent box = ExtentOf(site.boundary);
    const double radians = site.angle * kPi / 180;
    return {site.origin.value_or(GridPoint{box.min_x, box.min_y}), std::cos(radians), std::sin(radians)};
}

// The lattice points over the extent, row by row, for one spacing.
Outcome<std::vector<GridPoint>> Lattice(GridType type, const Frame& frame, const BoundaryExtent& box, double spacing,
                                        const GridPoint& start) {
    double u_min = INFINITY, u_max = -INFINITY, v_min = INFINITY, v_max = -INFINITY;
    for (const GridPoint corner : {GridPoint{box.min_x, box.min_y}, GridPoint{box.max_x, box.min_y},
                                   GridPoint{box.min_x, box.max_y}, GridPoint{box.max_x, box.max_y}}) {
        const GridPoint g = frame.ToGrid(corner);
        u_min = std::min(u_min, g.x), u_max = std::max(u_max, g.x);
        v_min = std::min(v_min, g.y), v_max = std::max(v_max, g.y);
    }
    const double row_spacing = RowSpacing(type, spacing);
    const double first_row = std::floor((v_min - start.y) / row_spacing);
    const double last_row = std::ceil((v_max - start.y) / row_spacing);
    const double first_column = std::floor((u_min - start.x) / spacing) - 1;
    const double last_column = std::ceil((u_max - start.x) / spacing);
    if ((last_row - first_row + 1) * (last_column - first_column + 1) > field::kMostLocations) {
        return field::Message(RefusalKind::TooManyLocations);
    }
    std::vector<GridPoint> points;
    for (double row = first_row; row <= last_row; ++row) {
        const bool shifted = type == GridType::Triangular && std::fmod(std::abs(row), 2.0) == 1.0;
        for (double column = first_column; column <= last_column; ++column) {
            const double u = start.x + (column + (shifted ? 0.5 : 0.0)) * spacing;
            points.push_back(frame.ToSite(u, start.y + row * row_spacing));
        }
    }
    return points;
}

Outcome<std::vector<GridPoint>> PointsInside(const std::vector<GridPoint>& candidates, const InsideTest& inside) {
    const Outcome<std::vector<char>> kept = inside(candidates);
    if (!kept) return kept.refusal();
    std::vector<GridPoint> points;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        if ((*kept)[k] != 0) points.push_back(candidates[k]);
    }
    return points;
}

Outcome<std::vector<GridPoint>> GridInside(GridType type, const SiteGrid& site, double spacing, const GridPoint& start,
                                           const InsideTest& inside) {
    const auto candidates = Lattice(type, FrameOf(site), ExtentOf(site.boundary), spacing, start);
    if (!candidates) return candidates.refusal();
    return PointsInside(*candidates, inside);
}

Refusal TooFewFit(std::size_t fit, int samples) {
    return {RefusalKind::TooFewLocationsFit,
            "Only " + std::to_string(fit) + " of the " + std::to_string(samples) +
                " locations could be placed inside the boundary.",
            MessageIcon::Exclamation};
}

// Random points inside, from the seed's generator after the start.
std::optional<Refusal> AddRandomPoints(SampleLayout& layout, const InsideTest& inside) {
    std::mt19937_64 generator(layout.seed);
    generator.discard(2);
    const BoundaryExtent box = ExtentOf(layout.boundary);
    const std::size_t wanted = static_cast<std::size_t>(layout.samples);
    const long long draws = std::max(kLeastDraws, 100LL * layout.samples);
    const std::size_t before = layout.points.size();
    for (long long drawn = 0; layout.points.size() < wanted && drawn < draws;) {
        std::vector<GridPoint> batch;
        for (std::size_t k = layout.points.size(); k < wanted; ++k, ++drawn) {
            const double u = static_cast<double>(generator() >> 11) * 0x1p-53;
            const double v = static_cast<double>(generator() >> 11) * 0x1p-53;
            batch.push_back({box.min_x + u * (box.max_x - box.min_x), box.min_y + v * (box.max_y - box.min_y)});
        }
        const auto kept = PointsInside(batch, inside);
        if (!kept) return kept.refusal();
        layout.points.insert(layout.points.end(), kept->begin(), kept->end());
    }
    layout.added_points = static_cast<int>(layout.points.size() - before);
    if (layout.points.size() < wanted) return TooFewFit(layout.points.size(), layout.samples);
    return std::nullopt;
}

std::optional<Refusal> Tighten(SampleLayout& layout, const SiteGrid& site, const InsideTest& inside) {
    const GridPoint share{layout.start.x / layout.spacing, layout.start.y / layout.spacing};
    for (int step = 0; step < kMostTightenings; ++step) {
        layout.spacing *= kTightenStep;
        // The start keeps its place within the cell, so the seed still decides it.
        layout.start = {share.x * layout.spacing, share.y * layout.spacing};
        auto points = GridInside(layout.type, site, layout.spacing, layout.start, inside);
        if (!points) return points.refusal();
        layout.points = std::move(*points);
        if (static_cast<long long>(layout.points.size()) >= layout.samples) return std::nullopt;
    }
    return TooFewFit(layout.points.size(), layout.samples);
}

}  // namespace

Outcome<SampleLayout> LayOutInBoundary(GridType type, const SiteGrid& site, double area, int samples,
                                       std::uint64_t seed, const InsideTest& inside) {
    SampleLayout layout;
    layout.type = type;
    const BoundaryExtent box = ExtentOf(site.boundary);
    layout.width = box.max_x - box.min_x;
    layout.height = box.max_y - box.min_y;
    layout.boundary = site.boundary;
    layout.angle = site.angle;
    layout.origin = FrameOf(site).origin;
    layout.samples = samples;
    layout.spacing = GridSpacing(type, area, samples);
    layout.seed = seed;
    layout.start = RandomStart(type, layout.spacing, seed);
    auto points = GridInside(type, site, layout.spacing, layout.start, inside);
    if (!points) return points.refusal();
    layout.points = std::move(*points);
    if (!layout.MoreLocationsNeeded()) return layout;
    const std::optional<Refusal> short_of =
        site.shortfall == Shortfall::AddRandom ? AddRandomPoints(layout, inside) : Tighten(layout, site, inside);
    if (short_of) return *short_of;
    return layout;
}

}  // namespace valdris
