// SPDX-License-Identifier: Apache-2.0
// Runs one design case many times, with the engine or its frozen earlier
// form, for instruction counts under callgrind, which a shared machine does
// not disturb (the difference of two run lengths is the cost of the extra
// designs):
//   valgrind --tool=callgrind engine_count sign|wrs engine|reference DESIGNS SIGMA D/S

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "reference_engine.h"
#include "valdris_power.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: engine_count sign|wrs engine|reference DESIGNS SIGMA D/S\n");
        return 2;
    }
    const bool sign = std::strcmp(argv[1], "sign") == 0;
    const bool reference = std::strcmp(argv[2], "reference") == 0;
    const long designs = std::atol(argv[3]);
    // Alpha = beta = 0.05, DCGL 1, LBGR 0.5: the window's defaults but sigma.
    valdris::DesignState state;
    state.Alpha = 0.05f;
    state.Beta = 0.05f;
    state.Sigma = static_cast<float>(std::atof(argv[4]));
    state.DCGL = 1;
    state.LBGR = 0.5;
    state.Delta = 0.5f;
    state.DoverS = std::atof(argv[5]);
    for (long d = 0; d < designs; ++d) {
        if (sign) {
            reference ? (void)valdris::reference::DesignSignTest(state) : (void)valdris::DesignSignTest(state);
        } else {
            reference ? (void)valdris::reference::DesignWRSTest(state) : (void)valdris::DesignWRSTest(state);
        }
    }
    std::printf("n %d, power at the DCGL %.17g\n", sign ? state.SignN : state.WRSN, state.CurvePower[40]);
    return 0;
}
