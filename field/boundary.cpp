// SPDX-License-Identifier: Apache-2.0
#include "boundary.h"

#include <algorithm>
#include <limits>

namespace valdris {

BoundaryExtent ExtentOf(const Boundary& boundary) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    BoundaryExtent box{kInf, kInf, -kInf, -kInf};
    for (const BoundaryPolygon& polygon : boundary.polygons) {
        for (const GridPoint& p : polygon.outer) {
            box.min_x = std::min(box.min_x, p.x);
            box.min_y = std::min(box.min_y, p.y);
            box.max_x = std::max(box.max_x, p.x);
            box.max_y = std::max(box.max_y, p.y);
        }
    }
    if (box.min_x > box.max_x) return {};  // no vertex: an empty box at the origin
    return box;
}

Boundary RectangleBoundary(double width, double height) {
    Boundary boundary;
    boundary.polygons.push_back({{{0, 0}, {width, 0}, {width, height}, {0, height}}, {}});
    return boundary;
}

}  // namespace valdris
