// SPDX-License-Identifier: Apache-2.0
#include "site_field.h"

#include "boundary_layout.h"
#include "geometry_loader.h"

namespace valdris {

Outcome<FieldFigures> ComputeSiteFigures(const FieldSetup& setup, int samples, double dcgl) {
    if (!setup.site || !setup.size) return ComputeFieldFigures(setup, samples, dcgl);
    // The check and the final N as for any unit of this area; the layout here.
    FieldSetup unlaid = setup;
    unlaid.seed.reset();
    Outcome<FieldFigures> figures = ComputeFieldFigures(unlaid, samples, dcgl);
    if (!figures || !setup.seed) return figures;
    const auto module = LoadGeometry();
    if (!module) return module.refusal();
    const GeometryFunctions* functions = *module;
    const Boundary& boundary = setup.site->boundary;
    const InsideTest inside = [functions, &boundary](const std::vector<GridPoint>& points)
        -> Outcome<std::vector<char>> {
        std::vector<char> kept;
        const GeometryStatus status = functions->inside(boundary, points, kept);
        if (!status.ok()) {
            return Refusal{RefusalKind::BoundaryUnreadable, "The boundary: " + status.text + ".", MessageIcon::Exclamation};
        }
        return kept;
    };
    Outcome<SampleLayout> laid =
        LayOutInBoundary(setup.grid, *setup.site, setup.size->area, figures->samples, *setup.seed, inside);
    if (!laid) return laid.refusal();
    figures->layout = std::move(*laid);
    return figures;
}

}  // namespace valdris
