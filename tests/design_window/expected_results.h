// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the design window ought to show for a design state: the selected
// test's design routine rerun on a copy of the state, written as the window
// writes its result fields.

#include <QString>
#include <gtest/gtest.h>

#include "design_inputs.h"

namespace valdris {
class frmSampleSizeandPower;
}

namespace valdris::testing {

struct ShownResults {
    QString survey_unit_size;    // txtN
    QString reference_size;      // TxtM, meaningful for the WRS test only
    QString critical_value;      // second line of LblCV
    bool reference_visible = false;
    bool size_out_of_range = false;  // the engine refused: sizes shown empty
};

ShownResults ReadShownResults(const frmSampleSizeandPower& window);
ShownResults EngineResults(const DesignState& state, TestKind test);

// The test whose results the window shows (the WRS routine shows the
// reference-area size, the Sign routine hides it).
TestKind ShownTest(const frmSampleSizeandPower& window);
TestKind SelectedTest(const frmSampleSizeandPower& window);

// The window's result fields agree with the engine rerun on its own state,
// for the given test; the curve arrays too.
::testing::AssertionResult ShowsEngineResults(const frmSampleSizeandPower& window, TestKind test);

}  // namespace valdris::testing
