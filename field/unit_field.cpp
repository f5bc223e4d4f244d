// SPDX-License-Identifier: Apache-2.0
#include "unit_field.h"

namespace valdris {

CheckedFieldFigures ComputeFieldFigures(const FieldSetup& setup, int samples, double dcgl) {
    FieldFigures figures;
    figures.samples = samples;
    if (!setup.size) return {figures, std::nullopt};
    if (setup.scan_mdc && !setup.area_factors.empty()) {
        const CheckedElevatedArea checked =
            CheckElevatedAreas(setup.area_factors, *setup.scan_mdc, setup.size->area, samples, dcgl);
        if (checked.refusal) return {std::nullopt, checked.refusal, true};
        figures.check = checked.check;
        figures.samples = checked.check->n_final;
    }
    if (!setup.seed) return {figures, std::nullopt};
    const CheckedLayout laid = LayOutSamples(setup.grid, *setup.size, figures.samples, *setup.seed);
    if (laid.refusal) return {std::nullopt, laid.refusal};
    figures.layout = laid.layout;
    return {figures, std::nullopt};
}

}  // namespace valdris
