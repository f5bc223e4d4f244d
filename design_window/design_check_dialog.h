// SPDX-License-Identifier: Apache-2.0
#pragma once
// View > Design Check: what the shown design really delivers (its true Type
// I error, its power for normal and lognormal data, the smallest size
// without margin, the size from exact quantiles), with the seed shown and
// changeable so that a check can be repeated to the last digit.

#include <QDialog>

#include "design_inputs.h"
#include "design_state.h"

class QFormLayout;
class QLineEdit;
class QLabel;

namespace valdris {

class DesignCheckDialog : public QDialog {
    Q_OBJECT
public:
    DesignCheckDialog(TestKind test, const DesignState& state, QWidget* parent = nullptr);

    QLineEdit* txtSeed = nullptr;
    QLabel* lblSeedProblem = nullptr;

    // Checks again with the seed typed; a seed out of range is said, not run.
    void CheckAgain();

private:
    void ShowCheck(uint64_t seed);

    TestKind test_;
    DesignState state_;
    QFormLayout* figures_ = nullptr;
};

}  // namespace valdris
