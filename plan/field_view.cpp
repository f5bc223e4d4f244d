// SPDX-License-Identifier: Apache-2.0
#include "field_view.h"

#include "field_texts.h"
#include "plan_file.h"
#include "scan_mdc_units.h"

namespace valdris {
namespace {

// In the shortest form that reads back to the same double, so that applying
// a table again changes none of the rows not touched.
std::string Exact(double value) { return RoundTripNumber(value); }
std::string Optional(const std::optional<double>& value) { return value ? Exact(*value) : std::string(); }

void ShowInputs(const PlanUnit& unit, FieldView& view) {
    const FieldSetup& field = unit.field;
    if (field.size) {
        view.area = Exact(field.size->area);
        view.width = Optional(field.size->width);
        view.height = Optional(field.size->height);
    }
    if (field.site) {
        const std::string system = field.site->boundary.crs.empty() ? "local coordinates"
                                   : field.site->boundary.crs.size() > 24 ? "a reference system given in full"
                                                                          : field.site->boundary.crs;
        view.boundary = system + ", " + LengthText(field.size ? field.size->area : 0) + " m\u00b2";
        if (field.site->angle != 0) view.grid_angle = Exact(field.site->angle);
        if (field.site->origin) view.origin = Exact(field.site->origin->x) + "," + Exact(field.site->origin->y);
    }
    view.grid = field.grid;
    if (field.seed) view.seed = std::to_string(*field.seed);
    view.scan_mdc = Optional(field.scan_mdc);
    view.scan_mdc_title = ScanMDCTitle(!unit.nuclides.empty(), unit.concentration_unit);
    for (const AreaFactor& pair : field.area_factors) {
        view.area_factors.push_back({Exact(pair.area), Exact(pair.factor)});
    }
    for (const Nuclide& nuclide : unit.nuclides) {
        view.nuclides.push_back({nuclide.name, Exact(nuclide.dcgl), Exact(nuclide.sigma),
                                 Optional(nuclide.concentration)});
    }
}

void ShowLocations(const PlanEntry& entry, FieldView& view) {
    const FieldFigures& figures = entry.field;
    if (figures.layout) {
        view.locations = SampleLayoutLines(*figures.layout);
        view.locations_note = MoreLocationsNote(*figures.layout);
        return;
    }
    const std::optional<UnitSize>& size = entry.unit.field.size;
    if (!size) {
        view.locations_note = "Give the unit's area, or its width and height, to lay the samples out.";
        return;
    }
    const GridType grid = entry.unit.field.grid;
    view.locations = {{"Grid", GridTypeCaption(grid)},
                      {"Spacing",
                       LengthText(GridSpacing(grid, size->area, figures.samples))}};
    view.locations_note = "Give a seed, or draw one with New Seed, to place the locations.";
}

}  // namespace

FieldView MakeFieldView(const PlanEntry& entry) {
    FieldView view;
    ShowInputs(entry.unit, view);
    ShowLocations(entry, view);
    if (entry.field.check) {
        view.elevated_area = ElevatedAreaLines(*entry.field.check);
    } else {
        view.elevated_area_note = "Give the area factors, the scan MDC and the unit's size for the check.";
    }
    if (const std::optional<SumOfFractions> sum = SumOfFractionsOf(entry.unit)) {
        view.sum_of_fractions = SumOfFractionsLines(entry.unit.nuclides, *sum);
    } else {
        view.sum_of_fractions_note = "One radionuclide: the unit's own DCGL and sigma are used.";
    }
    return view;
}

}  // namespace valdris
