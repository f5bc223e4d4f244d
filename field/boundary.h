// SPDX-License-Identifier: Apache-2.0
#pragma once
// A survey unit's boundary as a site drawing gives it: one or more polygons,
// each an outer ring with any number of holes, in the coordinates of a
// named reference system (projected, in metres, once imported). The rings
// are kept as read; the geometry work on them (area, inside or not, the
// change of reference system) is done by the geometry module, not here.

#include <string>
#include <vector>


namespace valdris {

struct GridPoint {
    double x = 0;
    double y = 0;
};

// A closed ring: the last vertex joins the first (not repeated).
using Ring = std::vector<GridPoint>;

struct BoundaryPolygon {
    Ring outer;
    std::vector<Ring> holes;
};

struct Boundary {
    std::vector<BoundaryPolygon> polygons;
    // The reference system of the coordinates: "EPSG:<code>" where the system
    // has one, else its WKT; empty for a unit's own local metres.
    std::string crs;

    bool empty() const { return polygons.empty(); }
};

// The box the boundary's outer rings span (holes lie within them).
struct BoundaryExtent {
    double min_x = 0;
    double min_y = 0;
    double max_x = 0;
    double max_y = 0;
};
BoundaryExtent ExtentOf(const Boundary& boundary);

// A rectangle W x H from the origin, as a unit without a drawn boundary has.
Boundary RectangleBoundary(double width, double height);

// One measurement placed where it was taken: the value at its location.
struct PostedValue {
    std::string id;  // the location's id ("1", "2", ... or the crew's own)
    GridPoint at;
    double value = 0;
};

}  // namespace valdris
