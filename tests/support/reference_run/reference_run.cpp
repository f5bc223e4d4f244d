// SPDX-License-Identifier: Apache-2.0
#include "reference_run.h"

#include "reference_engine.h"

namespace valdris::reference {

namespace {

// As EngineDesign, routine for routine (qualified: the state's namespace
// holds the engine's routines of the same names).
valdris::DesignOutcome Design(TestKind test, DesignState& state, std::optional<int32_t> given_n) {
    const bool sign = test == TestKind::Sign;
    const DesignOutcome outcome =
        given_n ? (sign ? reference::DesignSignTestForSize(state, *given_n)
                        : reference::DesignWRSTestForSize(state, *given_n))
                : (sign ? reference::DesignSignTest(state) : reference::DesignWRSTest(state));
    return outcome == DesignOutcome::Ok ? valdris::DesignOutcome::Ok : valdris::DesignOutcome::SampleSizeOutOfRange;
}

double PowerAtLBGR(TestKind test, const DesignSummary& state) {
    if (test == TestKind::Sign) return reference::SignPower(state.SignN, state.SignCriticalValue, state.DoverS);
    return reference::WRSPower(state.WRSN, state.WRSCriticalValue, state.DoverS);
}

}  // namespace

const DesignEngine kReferenceEngine{Design, PowerAtLBGR};

Outcome<DesignState> ReferenceRun(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n) {
    return RunDesign(test, inputs, given_n, kReferenceEngine);
}

}  // namespace valdris::reference
