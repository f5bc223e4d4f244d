// SPDX-License-Identifier: Apache-2.0
#pragma once
// A freshly loaded design window driven by short steps ("dcgl 0.4" types into
// the box and leaves it), with its messages recorded by short names and its
// recalculations counted.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "frm_sample_size_and_power.h"
#include "recording_messages.h"

namespace valdris::testing {

class WindowStepsFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // Steps: alpha|beta|sigma|dcgl|lbgr <text> (type, then leave the box),
    // text-dcgl|text-sigma <text> (type only), bar <value>, up, down, chart, wrs.
    void Run(const std::string& step);
    void Run(const std::vector<std::string>& steps) {
        for (const std::string& step : steps) Run(step);
    }
    // "name=value" for a control's text (the bar's value, lblShift's caption),
    // or for a stored input (Alpha, Beta, Sigma, DCGL, LBGR) read at its width.
    void Expect(const std::string& name_equals_value) const;
    // The messages shown since the last reset, by short name ("joint", "adjusted").
    std::vector<std::string> Shown() const;

    int Recalculations() const { return static_cast<int>(recalculations->count()); }
    void ResetCounts() {
        messages.Clear();
        recalculations->clear();
    }

    RecordingMessages messages;
    std::unique_ptr<frmSampleSizeandPower> window;
    std::unique_ptr<QSignalSpy> recalculations;
};

}  // namespace valdris::testing
