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
    if (static_cast<bool>(request.width) != static_cast<bool>(request.height)) {
        return "--width and --height go together";
    }
    if ((request.seed || request.grid) && !request.HasSize()) {
        return std::string(request.seed ? "--seed" : "--grid") + " lays out locations: give --area or --width and --height";
    }
    if (static_cast<bool>(request.scan_mdc) != static_cast<bool>(request.area_factors)) {
        return "--scan-mdc and --area-factors go together";
    }
    if (request.scan_mdc && !request.HasSize()) {
        return "--scan-mdc checks the grid of a unit: give --area or --width and --height";
    }
    // A rectangle gets a seed of its own; an area alone only a given one.
    if (request.points && !request.width && !(request.area && request.seed)) {
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
  --points FILE.csv     the locations as a CSV file id,x,y (written whole or
                        not at all; exit status 1 when it cannot be written)
                                                         e.g. --points locations.csv
)";
}

}  // namespace valdris::cli
