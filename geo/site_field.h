// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit's field figures wherever it lies: over its drawn boundary when it
// has one (through the geometry module), else as unit_field.h lays out a
// rectangle, without loading the module. Every face computes a unit's field
// through this.

#include "unit_field.h"

namespace valdris {

Outcome<FieldFigures> ComputeSiteFigures(const FieldSetup& setup, int samples, double dcgl);

}  // namespace valdris
