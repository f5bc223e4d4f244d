// SPDX-License-Identifier: Apache-2.0
#include "design_window_loader.h"

#include "frm_sample_size_and_power.h"
#include "program_windows.h"

namespace valdris {

QWidget* LoadDesignWindow(ProgramWindows& windows, MessageBoxes& messages) {
    // Constructing the window runs its load step: help set-up, defaults and
    // the first design.
    auto* window = new frmSampleSizeandPower(messages);
    QObject::connect(window, &frmSampleSizeandPower::gettingStartedRequested, &windows,
                     &ProgramWindows::ShowGettingStarted);
    QObject::connect(window, &frmSampleSizeandPower::aboutRequested, &windows, &ProgramWindows::ShowAbout);
    return window;
}

}  // namespace valdris
