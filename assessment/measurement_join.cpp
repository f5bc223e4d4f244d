// SPDX-License-Identifier: Apache-2.0
#include "measurement_join.h"

#include <cmath>
#include <limits>
#include <unordered_map>

#include "number_text.h"

namespace valdris {
namespace {

Refusal TwoAtOneLocation(std::size_t location, std::size_t first, std::size_t second) {
    return Refusal{RefusalKind::MeasurementsNotJoined,
                   "Location " + LocationId(location) + " has two measurements (measurements " +
                       std::to_string(first + 1) + " and " + std::to_string(second + 1) + ").",
                   MessageIcon::Exclamation};
}

// The location an id names: digits only, as the exported list writes them.
std::optional<std::size_t> LocationOfId(const std::string& id, std::size_t locations) {
    if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const std::size_t digits = id.find_first_not_of('0');
    if (digits == std::string::npos || id.size() - digits > 9) return std::nullopt;  // "0", or beyond any plan
    const std::size_t number = std::stoul(id.substr(digits));
    if (number > locations) return std::nullopt;
    return number - 1;
}

// The values' locations checked (one value each) and the rest of the join
// filled in from them.
Outcome<MeasurementJoin> Finish(MeasurementJoin join, const std::vector<double>& values, const SampleLayout& layout,
                                const std::vector<std::string>& names) {
    std::vector<std::optional<std::size_t>> taken_by(layout.points.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<std::size_t> at = join.location[i];
        if (!at) {
            join.unmatched.push_back(names[i]);
            continue;
        }
        if (taken_by[*at]) return TwoAtOneLocation(*at, *taken_by[*at], i);
        taken_by[*at] = i;
        join.posted.push_back({LocationId(*at), layout.points[*at], values[i]});
    }
    for (std::size_t k = 0; k < taken_by.size(); ++k) {
        if (!taken_by[k]) join.missing.push_back(LocationId(k));
    }
    return join;
}

// The locations binned in square cells one spacing wide: the nearest within
// half a spacing lies in the place's cell or one of its eight neighbours.
class LocationCells {
public:
    explicit LocationCells(const SampleLayout& layout) : layout_(layout), cell_(layout.spacing) {
        for (std::size_t k = 0; k < layout.points.size(); ++k) cells_[Key(layout.points[k])].push_back(k);
    }

    std::optional<std::size_t> Nearest(GridPoint at, double tolerance) const {
        if (!(cell_ > 0) || !std::isfinite(at.x / cell_) || !std::isfinite(at.y / cell_)) return std::nullopt;
        std::optional<std::size_t> nearest;
        double best = tolerance;
        const long long cx = Cell(at.x);
        const long long cy = Cell(at.y);
        for (long long dx = -1; dx <= 1; ++dx) {
            for (long long dy = -1; dy <= 1; ++dy) {
                const auto found = cells_.find(Pack(cx + dx, cy + dy));
                if (found == cells_.end()) continue;
                for (const std::size_t k : found->second) {
                    const double d = std::hypot(layout_.points[k].x - at.x, layout_.points[k].y - at.y);
                    if (d <= best) {
                        best = d;
                        nearest = k;
                    }
                }
            }
        }
        return nearest;
    }

private:
    long long Cell(double v) const {
        const double c = std::floor(v / cell_);
        constexpr double kFar = 1e15;  // a place this far joins nothing in any case
        return static_cast<long long>(c < -kFar ? -kFar : c > kFar ? kFar : c);
    }
    static unsigned long long Pack(long long cx, long long cy) {
        return (static_cast<unsigned long long>(cx) * 0x9E3779B97F4A7C15ULL) ^ static_cast<unsigned long long>(cy);
    }
    unsigned long long Key(GridPoint p) const { return Pack(Cell(p.x), Cell(p.y)); }

    const SampleLayout& layout_;
    double cell_;
    std::unordered_map<unsigned long long, std::vector<std::size_t>> cells_;
};

}  // namespace

std::string LocationId(std::size_t k) { return std::to_string(k + 1); }

Outcome<MeasurementJoin> JoinById(const std::vector<double>& values, const std::vector<std::string>& ids,
                                  const SampleLayout& layout) {
    MeasurementJoin join;
    join.location.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) join.location.push_back(LocationOfId(ids[i], layout.points.size()));
    return Finish(std::move(join), values, layout, ids);
}

Outcome<MeasurementJoin> JoinByPlace(const std::vector<double>& values, const std::vector<GridPoint>& places,
                                     const SampleLayout& layout) {
    const LocationCells cells(layout);
    const double tolerance = kPlaceToleranceShare * layout.spacing;
    MeasurementJoin join;
    std::vector<std::string> names(values.size());
    join.location.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        join.location.push_back(cells.Nearest(places[i], tolerance));
        if (!join.location.back()) names[i] = "(" + WriteNumber(places[i].x) + ", " + WriteNumber(places[i].y) + ")";
    }
    return Finish(std::move(join), values, layout, names);
}

}  // namespace valdris
