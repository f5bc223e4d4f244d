// SPDX-License-Identifier: Apache-2.0
#include "unit_field.h"

namespace valdris {

Outcome<FieldFigures> ComputeFieldFigures(const FieldSetup& setup, int samples, double dcgl) {
    FieldFigures figures;
    figures.samples = samples;
    if (!setup.size) return figures;
    if (setup.scan_mdc && !setup.area_factors.empty()) {
        const Outcome<ElevatedAreaCheck> checked =
            CheckElevatedAreas(setup.area_factors, *setup.scan_mdc, setup.size->area, samples, dcgl);
        if (!checked) return checked.refusal();
        figures.check = *checked;
        figures.samples = checked->n_final;
    }
    if (!setup.seed) return figures;
    Outcome<SampleLayout> laid = LayOutSamples(setup.grid, *setup.size, figures.samples, *setup.seed);
    if (!laid) return laid.refusal();
    figures.layout = std::move(*laid);
    return figures;
}

}  // namespace valdris
