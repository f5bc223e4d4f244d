// SPDX-License-Identifier: Apache-2.0
#pragma once
// The Compare Curves window: several units' power curves on one chart.

#include <QDialog>
#include <vector>

#include "curve_comparison.h"
#include "plan.h"

namespace valdris {

// "Unit 3 (N = 14)", "Unit 4 (N = 12 + 12)" for a WRS design.
std::string ComparisonLabel(const PlanEntry& entry);

class ComparisonView : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonView(std::vector<ComparedCurve> curves, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ComparedCurve> curves_;
};

// A window of its own, deleted when closed.
QDialog* OpenComparison(const std::vector<const PlanEntry*>& entries, QWidget* parent);

}  // namespace valdris
