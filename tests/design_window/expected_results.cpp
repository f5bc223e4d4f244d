// SPDX-License-Identifier: Apache-2.0
#include "expected_results.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

#include "frm_sample_size_and_power.h"
#include "result_texts.h"
#include "valdris_power.h"
#include "window_driver.h"

namespace valdris::testing {

ShownResults ReadShownResults(const frmSampleSizeandPower& window) {
    ShownResults shown;
    shown.survey_unit_size = window.txtN->text();
    shown.reference_size = window.TxtM->text();
    shown.critical_value = SecondLine(window.LblCV);
    shown.reference_visible = !window.TxtM->isHidden();
    return shown;
}

ShownResults EngineResults(const DesignState& state, TestKind test) {
    DesignState rerun = state;
    ShownResults expected;
    expected.reference_visible = test == TestKind::WRS;
    if (RunTestDesign(test, rerun) != DesignResult::Shown) {
        expected.size_out_of_range = true;
        return expected;
    }
    expected.survey_unit_size = QString::number(SampleSize(test, rerun));
    if (test == TestKind::WRS) expected.reference_size = expected.survey_unit_size;
    expected.critical_value = QString::fromStdString(CriticalValueText(test, rerun));
    return expected;
}

TestKind ShownTest(const frmSampleSizeandPower& window) {
    return !window.LblReferenceArea->isHidden() ? TestKind::WRS : TestKind::Sign;
}

TestKind SelectedTest(const frmSampleSizeandPower& window) {
    return window.OptWRSTest->isChecked() ? TestKind::WRS : TestKind::Sign;
}

static const char* Name(TestKind test) { return test == TestKind::WRS ? "WRS" : "Sign"; }

::testing::AssertionResult ShowsEngineResults(const frmSampleSizeandPower& window, TestKind test) {
    const ShownResults shown = ReadShownResults(window);
    const ShownResults expected = EngineResults(window.Form().State(), test);
    auto failure = [&](const QString& what) {
        return ::testing::AssertionFailure() << Name(test) << " test: " << what.toStdString();
    };
    if (expected.size_out_of_range) {
        if (!shown.survey_unit_size.isEmpty() || (shown.reference_visible && !shown.reference_size.isEmpty())) {
            return failure("engine refused the size but the window shows txtN '" + shown.survey_unit_size +
                           "' TxtM '" + shown.reference_size + "'");
        }
        return ::testing::AssertionSuccess();
    }
    if (shown.reference_visible != expected.reference_visible) {
        return failure(QString("reference size visible %1, expected %2")
                           .arg(shown.reference_visible)
                           .arg(expected.reference_visible));
    }
    if (window.LblReferenceArea->isHidden() == expected.reference_visible) {
        return failure("the Reference label does not follow the reference size box");
    }
    if (shown.survey_unit_size != expected.survey_unit_size) {
        return failure("txtN '" + shown.survey_unit_size + "', engine gives '" + expected.survey_unit_size + "'");
    }
    if (expected.reference_visible && shown.reference_size != expected.reference_size) {
        return failure("TxtM '" + shown.reference_size + "', engine gives '" + expected.reference_size + "'");
    }
    if (FirstLine(window.LblCV) != QLatin1String("Critical Value:")) {
        return failure("LblCV first line '" + FirstLine(window.LblCV) + "'");
    }
    if (shown.critical_value != expected.critical_value) {
        return failure("LblCV second line '" + shown.critical_value + "', engine gives '" +
                       expected.critical_value + "'");
    }
    // The chart draws the curve arrays: they must be the ones of this design.
    DesignState rerun = window.Form().State();
    if (test == TestKind::WRS) {
        DesignWRSTest(rerun);
    } else {
        DesignSignTest(rerun);
    }
    for (int i = 1; i <= kCurvePoints; ++i) {
        const DesignState& state = window.Form().State();
        const bool same_x = rerun.CurveX[i] == state.CurveX[i];
        const bool same_power = rerun.CurvePower[i] == state.CurvePower[i] ||
                                (std::isnan(rerun.CurvePower[i]) && std::isnan(state.CurvePower[i]));
        if (!same_x || !same_power) {
            return failure(QString("curve point %1 is (%2, %3), engine gives (%4, %5)")
                               .arg(i)
                               .arg(state.CurveX[i], 0, 'g', 9)
                               .arg(state.CurvePower[i], 0, 'g', 17)
                               .arg(rerun.CurveX[i], 0, 'g', 9)
                               .arg(rerun.CurvePower[i], 0, 'g', 17));
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace valdris::testing
