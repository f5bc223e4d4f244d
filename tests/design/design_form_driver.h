// SPDX-License-Identifier: Apache-2.0
#pragma once
// A loaded design form with a view that records what the window would do,
// driven by short steps ("dcgl 0.4" types into the box and leaves it).

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "design_form.h"

namespace valdris::testing {

// What the window would show, as the form told it.
class RecordingView : public DesignFormView {
public:
    void SetText(FormControl control, const std::string& text) override { texts[control] = text; }
    void SetBar(int position) override { bar = position; }
    void ShowMessage(const Refusal& message) override {
        shown.push_back(message);
        if (on_show) on_show(message);
    }
    void Focus(FormControl control) override { focus = control; }
    void ShowResults(const FormResults& shown_results, const DesignState&) override { results = shown_results; }
    void ShowSelectedTest(TestKind test) override { selected = test; }
    void Beep() override { ++beeps; }
    void ShowNotice(FormControl control, const std::string& text) override { notices.push_back({control, text}); }
    void ShowResultsNote(const std::string& note, const std::string& tip) override {
        results_note = note;
        results_tip = tip;
    }

    std::map<FormControl, std::string> texts;
    int bar = kLBGRBarStart;
    std::vector<Refusal> shown;
    std::function<void(const Refusal&)> on_show;
    std::optional<FormControl> focus;
    FormResults results;
    TestKind selected = TestKind::Sign;
    int beeps = 0;
    std::vector<std::pair<FormControl, std::string>> notices;
    std::string results_note, results_tip;
};

// Short names of the messages for step tables ("joint", "adjusted").
std::string MessageName(const Refusal& message);

class DesignFormTest : public ::testing::Test {
protected:
    DesignFormTest();

    // Steps: alpha|beta|sigma|dcgl|lbgr <text> (type, then leave the box),
    // text-dcgl|text-sigma <text> (type only), keys-dcgl|keys-sigma <text>
    // (typed one key at a time at the end, then leave the box), bar <value>,
    // up, down, chart, wrs, sign.
    void Run(const std::string& step);
    void Run(const std::vector<std::string>& steps) {
        for (const std::string& step : steps) Run(step);
    }
    // "name=value": a control's text as the window shows it (named as the
    // window names it; ScrLBGR the bar, CV the critical value, txtN and TxtM
    // the sample sizes), or a stored input (Alpha, Beta, Sigma, DCGL, LBGR)
    // read at its width.
    void Expect(const std::string& name_equals_value) const;
    std::vector<std::string> Shown() const;
    void ResetCounts() {
        view.shown.clear();
        view.focus.reset();
        view.notices.clear();
        view.beeps = 0;
        recalculations = 0;
    }

    RecordingView view;
    DesignForm form{view};
    int recalculations = 0;
};

}  // namespace valdris::testing
