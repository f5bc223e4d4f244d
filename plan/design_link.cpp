// SPDX-License-Identifier: Apache-2.0
#include "design_link.h"

#include "number_text.h"

namespace valdris {

DesignEntries DesignEntriesOf(const PlanUnit& unit) {
    const DesignInputs inputs = InputsOf(unit);
    const std::string sigma =
        unit.nuclides.empty() ? PlainNumber(unit.sigma) : PlainNumber(static_cast<float>(inputs.sigma));
    return {PlainNumber(unit.alpha), PlainNumber(unit.beta),   sigma,
            PlainNumber(inputs.dcgl), PlainNumber(inputs.lbgr), RadionuclideText(unit), unit.test};
}

bool SameDesign(const PlanUnit& a, const PlanUnit& b) {
    return a.radionuclide == b.radionuclide && a.test == b.test && a.alpha == b.alpha && a.beta == b.beta &&
           a.sigma == b.sigma && a.dcgl == b.dcgl && a.lbgr == b.lbgr;
}

}  // namespace valdris
