// SPDX-License-Identifier: Apache-2.0
#pragma once
// The seam between the program and its geometry module, which holds all of
// the program's GDAL (and through it PROJ and GEOS): reading site drawings,
// areas, whether points lie inside a boundary, changes of reference system
// and the files a field crew takes out. The module is loaded only when a
// boundary is asked for, so a plain design starts without it. Plain structs
// on both sides, built by the same compiler.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "boundary.h"

namespace valdris {

// Raised whenever GeometryFunctions changes, so that a program never calls
// into a module from another build.
constexpr int kGeometryInterfaceVersion = 1;

// Why a step of the module failed: the program turns each into its own
// refusal kind.
enum class GeometryProblem {
    None,
    FileUnreadable,   // no driver opens it, or no such layer
    NotAPolygon,      // a feature chosen is no polygon
    SelfIntersecting, // not a valid polygon (GEOS)
    NoCRS,            // a reference system is needed and there is none
    Empty,            // no polygon, or only empty ones
    NotWritten,       // an export could not be made
};

// One polygon feature of a layer: its attributes (name, text) and its
// boundary, already in metres (a geographic one in its UTM zone).
struct BoundaryFeature {
    std::vector<std::pair<std::string, std::string>> attributes;
    Boundary boundary;
};

// The result of each call: ok, or the problem and a text naming it.
struct GeometryStatus {
    GeometryProblem problem = GeometryProblem::None;
    std::string text;
    bool ok() const { return problem == GeometryProblem::None; }
};

// A location to export: its id and where it is, in the boundary's system.
struct NamedPoint {
    std::string id;
    GridPoint at;
};

struct GeometryFunctions {
    int interface_version;
    std::size_t boundary_size;  // the layout both sides were built with
    // The polygon features of a file's layer (the first layer when the name
    // is empty), each checked valid and in metres.
    GeometryStatus (*read_features)(const std::string& path, const std::string& layer,
                                     std::vector<BoundaryFeature>& features);
    // Valid (GEOS), not empty, and its area in square metres (holes excluded).
    GeometryStatus (*checked_area)(const Boundary& boundary, double& area);
    // For each point, whether it lies inside the boundary (outside its holes).
    GeometryStatus (*inside)(const Boundary& boundary, const std::vector<GridPoint>& points,
                             std::vector<char>& inside);
    // The points in longitude/latitude (WGS 84, x longitude).
    GeometryStatus (*to_wgs84)(const std::string& crs, const std::vector<GridPoint>& points,
                               std::vector<GridPoint>& lon_lat);
    // The points written by GDAL's driver for the format (CSV, GeoJSON, KML,
    // GPX, named as GDAL names them) to a new file at the path.
    GeometryStatus (*write_points)(const std::string& driver, const std::string& crs,
                                   const std::vector<NamedPoint>& points, const std::string& path);
};

// The one symbol the module exports.
inline constexpr const char* kGeometryEntryPoint = "valdris_geometry_functions";
using GeometryEntryPoint = const GeometryFunctions* (*)();

}  // namespace valdris
