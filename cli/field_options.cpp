// SPDX-License-Identifier: Apache-2.0
#include "field_options.h"

namespace valdris::cli {

namespace {

struct FieldOption {
    const char* name;
    std::optional<std::string> FieldRequest::*text;  // nullptr: handled by name
    const char* example;
};

const FieldOption kFieldOptions[] = {
    {"--area", &FieldRequest::area, "--area 2000"},
    {"--width", &FieldRequest::width, "--width 50"},
    {"--height", &FieldRequest::height, "--height 40"},
    {"--grid", nullptr, "--grid square"},
    {"--seed", &FieldRequest::seed, "--seed 20260612"},
    {"--scan-mdc", &FieldRequest::scan_mdc, "--scan-mdc 2.5"},
    {"--area-factors", &FieldRequest::area_factors, "--area-factors 1:10,10:3,100:1.5"},
    {"--nuclide", nullptr, "--nuclide Co-60:5:0.5:1"},
    {"--points", &FieldRequest::points, "--points locations.csv"},
    {"--boundary", &FieldRequest::boundary, "--boundary site.gpkg:units"},
    {"--feature", &FieldRequest::feature, "--feature name=North"},
    {"--grid-angle", &FieldRequest::grid_angle, "--grid-angle 30"},
    {"--origin", &FieldRequest::origin, "--origin 500000,5000000"},
    {"--shortfall", nullptr, "--shortfall tighten"},
};

const FieldOption* FindFieldOption(const std::string& name) {
    for (const FieldOption& option : kFieldOptions) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

}  // namespace

bool IsFieldOption(const std::string& name) { return FindFieldOption(name) != nullptr; }

std::string FieldOptionMissingValue(const std::string& name) {
    return name + " needs a value, for example " + FindFieldOption(name)->example;
}

std::optional<std::string> StoreFieldOption(FieldRequest& request, const std::string& name, const std::string& value) {
    const FieldOption& option = *FindFieldOption(name);
    if (option.text != nullptr) {
        request.*(option.text) = value;
    } else if (name == "--nuclide") {
        request.nuclides.push_back(value);
    } else if (name == "--shortfall") {
        const auto shortfall = ShortfallFromName(value);
        if (!shortfall) return "--shortfall must be random or tighten, not \"" + value + "\"";
        request.shortfall = *shortfall;
    } else {
        const auto grid = GridTypeFromName(value);
        if (!grid) return "--grid must be triangular or square, not \"" + value + "\"";
        request.grid = *grid;
    }
    return std::nullopt;
}

std::optional<std::string> FieldUsageError(const FieldRequest& request, bool many_designs) {
    if (many_designs && request.Any()) {
        return "--sweep and --plan run many designs and cannot be combined with a unit's size, grid or radionuclides";
    }
    if (request.area && (request.width || request.height)) return "give --area or --width and --height, not both";
    if (request.boundary && (request.area || request.width || request.height)) {
        return "--boundary gives the unit's area: give it without --area, --width and --height";
    }
    if (!request.boundary && (request.feature || request.grid_angle || request.origin || request.shortfall)) {
        return std::string(request.feature      ? "--feature"
                           : request.grid_angle ? "--grid-angle"
                           : request.origin     ? "--origin"
                                                : "--shortfall") +
               " lays the grid over a drawn boundary: give --boundary";
    }
    if (static_cast<bool>(request.width) != static_cast<bool>(request.height)) {
        return "--width and --height go together";
    }
    if ((request.seed || request.grid) && !request.HasSize()) {
        return std::string(request.seed ? "--seed" : "--grid") + " lays out locations: give --area, --width and --height, or --boundary";
    }
    if (static_cast<bool>(request.scan_mdc) != static_cast<bool>(request.area_factors)) {
        return "--scan-mdc and --area-factors go together";
    }
    if (request.scan_mdc && !request.HasSize()) {
        return "--scan-mdc checks the grid of a unit: give --area, --width and --height, or --boundary";
    }
    // A rectangle or a boundary gets a seed of its own; an area alone only a given one.
    if (request.points && !request.width && !request.boundary && !(request.area && request.seed)) {
        return "--points writes the locations: give --width and --height, or --area and --seed";
    }
    return std::nullopt;
}

std::string FieldHelpText() {
    return R"(The unit in the field (each optional; the spacing and the check use the
design's sample size N):
  --area A              the unit's area; the locations then fill a square of
                        side sqrt(A)                     e.g. --area 2000
  --width W --height H  the unit as a W x H rectangle (area W x H)
                                                         e.g. --width 50 --height 40
  --grid triangular|square
                        the sample grid [triangular]     e.g. --grid square
  --seed S              the random start's seed, a whole number from 0 to
                        9007199254740991; without it a rectangle gets a
                        fresh seed, reported in the output e.g. --seed 42
  --scan-mdc M --area-factors a1:f1,a2:f2,...
                        the elevated-area check: the scan MDC in the DCGL's
                        unit and the area-factor table (areas increasing,
                        factors at least 1, not increasing); adds samples when
                        the scan cannot find an elevated area between them
                                                         e.g. --scan-mdc 2.5 --area-factors 1:10,10:3,100:1.5,1000:1.1
  --nuclide NAME:DCGL:SIGMA[:CONCENTRATION]
                        one radionuclide; repeat it for each. The design then
                        runs on the sum of fractions (DCGL 1, the combined
                        sigma, and the LBGR from the concentrations, or
                        --lbgr as a fraction when they are not all given);
                        --dcgl and --sigma are not used
                                                         e.g. --nuclide Co-60:5:0.5:1 --nuclide Cs-137:10:2:3
  --boundary FILE[:LAYER]
                        the unit as drawn: a polygon (holes and several
                        parts kept) from a GeoJSON, Shapefile, KML/KMZ,
                        GeoPackage or DXF file, its layer named after a
                        colon; the area is the polygon's, the grid is laid
                        over it and keeps the points inside. Longitude/
                        latitude is laid out in its UTM zone, in metres
                                                         e.g. --boundary site.gpkg:units
  --feature NAME=VALUE  the polygon chosen by an attribute, when the layer
                        holds several                    e.g. --feature name=North
  --grid-angle DEG      the grid turned by DEG degrees, counter-clockwise
                        (-360 to 360) [0]                e.g. --grid-angle 30
  --origin X,Y          the point the grid is turned about and started from
                        [the boundary's lower-left corner]
                                                         e.g. --origin 500000,5000000
  --shortfall random|tighten
                        when fewer grid points than N fall inside: add
                        seeded random points inside, or tighten the spacing
                        until N fit [random]             e.g. --shortfall tighten
  --points FILE         the locations, by the name's extension: .csv (id,x,y,
                        and lon,lat in WGS 84 for a boundary with a reference
                        system; any other extension is CSV too), .geojson,
                        .kml or .gpx (waypoints named by id); written whole
                        or not at all; exit status 1 when it cannot be written
                                                         e.g. --points locations.gpx
)";
}

}  // namespace valdris::cli
