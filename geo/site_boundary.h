// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit's boundary from where a planner has it: a site drawing's layer (one
// feature chosen by an attribute, or each feature a unit), vertices typed x y
// a line, or a plan file's; each checked by the geometry module (a valid
// polygon, not empty) and measured. A refusal names the file, the layer and
// what is wrong, and changes nothing.

#include <string>
#include <vector>

#include "geometry.h"
#include "outcome.h"

namespace valdris {

// The boundary and its area in square metres (holes excluded).
struct MeasuredBoundary {
    Boundary boundary;
    double area = 0;
};

// "FILE:LAYER" ("site.gpkg:units"): split at the last colon with no slash
// after it, unless the whole text names an existing file.
struct BoundarySource {
    std::string path;
    std::string layer;  // empty: the file's first layer
};
BoundarySource SplitBoundarySource(const std::string& text);

// Every polygon feature of the layer, with its attributes. A ".txt" or
// ".xy" file holds typed vertices instead (TypedBoundary, local metres).
Outcome<std::vector<BoundaryFeature>> ReadBoundaryFeatures(const BoundarySource& source);

// One feature by "NAME=VALUE" on its attributes; an empty selector takes
// the layer's only feature. The refusal lists what the layer offers.
Outcome<MeasuredBoundary> ChooseBoundary(const BoundarySource& source, const std::vector<BoundaryFeature>& features,
                                         const std::string& selector);

// One feature of the layer (a choice list's pick), checked and measured.
Outcome<MeasuredBoundary> MeasureFeature(const BoundarySource& source, const BoundaryFeature& feature);

// Read and chosen at once: what the companion's --boundary does.
Outcome<MeasuredBoundary> ImportBoundary(const BoundarySource& source, const std::string& selector);

// Vertices typed as "x y" lines (commas allowed between the numbers); a
// blank line closes a ring, and the rings after the first are its holes.
// In the unit's own metres unless a reference system is named.
Outcome<MeasuredBoundary> TypedBoundary(const std::string& text, const std::string& crs);

// A boundary as a plan file holds it, checked and measured.
Outcome<MeasuredBoundary> CheckedBoundary(const Boundary& boundary);

// A feature's name for a choice list: its attributes "name=value, ...", or
// "feature k" when it has none.
std::string FeatureCaption(const BoundaryFeature& feature, std::size_t index);

}  // namespace valdris
