// SPDX-License-Identifier: Apache-2.0
// Randomised user: a seeded generator drives the design window through random
// keys, texts, clicks, list choices, scroll and spin actions. After every
// step the design state must hold only finite numbers inside the ranges the
// input rules promise, and the window must show what the engine computes for
// that state. A failure prints the seed and the steps so far, to be replayed.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include "expected_results.h"
#include "frm_sample_size_and_power.h"
#include "input_rules.h"
#include "known_messages.h"
#include "number_text.h"
#include "power_chart_view.h"
#include "recording_messages.h"
#include "symbol_label.h"
#include "up_down_control.h"
#include "window_driver.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VALDRIS_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VALDRIS_UNDER_ASAN 1
#endif

namespace valdris::testing {
namespace {

#ifdef VALDRIS_UNDER_ASAN
constexpr int kStepsPerSeed = 750;
#else
constexpr int kStepsPerSeed = 1500;
#endif
constexpr unsigned kSeeds[] = {20260101u, 7u, 914u};


class RandomUser {
public:
    RandomUser(frmSampleSizeandPower& window, unsigned seed) : window_(window), random_(seed) {}

    // One random action; returns its description for the step log.
    std::string Act() {
        CloseStrayPopup();
        switch (Pick(15)) {
            case 0:
            case 1:
            case 2: return TypeText();
            case 3: TabAway(); return "Tab";
            case 4: BacktabAway(); return "Shift+Tab";
            case 5: return ClickControl();
            case 6: return ChooseItem();
            case 7: return Scroll();
            case 8: return Spin();
            case 9: return SwitchTest();
            case 10: ClickOn(window_.PicChart); return "click chart";
            case 11: return OtherKey();
            case 12: return TypeText();
            case 13: return TurnWheel();
            default: return Scroll();
        }
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }

    QWidget* AnyInput() {
        QWidget* inputs[] = {window_.txtDCGL, window_.txtSigma, window_.txtLBGR,
                             window_.Cboalpha, window_.CboBeta, window_.txtRadionuclide};
        // The number boxes most of the time; the free-text box now and then.
        return inputs[Pick(Chance(90) ? 5 : 6)];
    }

    QString RandomDigits(int length) {
        QString digits;
        for (int i = 0; i < length; ++i) digits += QChar('0' + Pick(10));
        return digits;
    }

    QString PlausibleNumber() {
        static const double scales[] = {0.01, 0.1, 1, 10, 100, 1000};
        const double value = std::uniform_real_distribution<double>(0, 1)(random_) * scales[Pick(6)];
        return QString::number(value, 'g', 1 + Pick(6));
    }

    QString GarbageText() {
        static const QStringList fixed = {
            "", ".", "..", "abc", "-1", "0", "1e999", "-1e999", "1E+30", "1E-30", "1e-31", "1e31",
            "3.4e38", "1e-300", "1e300", "0.5", "0.05", "0.50", "1", "10", "10.01", "0.0001", "1.2.3",
            "1D5", " 2 5", "1,5", "$3", "+.5", "-.0", "٣.٥", "½", "∞", "NaN", "inf", "💥💥", "\u00a01",
            "0,05", "5e", "e5", ".e1", "0x10",
        };
        switch (Pick(10)) {
            case 0: return "0." + QString(40, '0') + "1";
            case 1: return RandomDigits(400);
            // Around the smallest and largest DCGL that can be designed with.
            case 8: return "0." + QString(Pick(36), '0') + RandomDigits(1 + Pick(3));
            case 9: return "1" + QString(Pick(36), '0');
            case 2: return "0." + RandomDigits(1 + Pick(30));
            case 3: {
                // A very long mixed text.
                QString text;
                static const QString alphabet = "0123456789.eE-+ ,xé∑";
                for (int i = 0; i < 5000; ++i) text += alphabet[Pick(alphabet.size())];
                return text;
            }
            case 4:
            case 5: return PlausibleNumber();
            default: return fixed[Pick(fixed.size())];
        }
    }

    std::string TypeText() {
        QWidget* box = AnyInput();
        const QString text = GarbageText();
        // Long texts are pasted: typing them key by key would take minutes.
        const bool paste = text.size() > 24 || Chance(25);
        if (paste) {
            PasteInto(box, text);
        } else {
            TypeInto(box, text);
        }
        std::ostringstream step;
        step << (paste ? "paste into " : "type into ") << box->objectName().toStdString() << " ["
             << (text.size() > 60 ? (text.left(40) + "...(" + QString::number(text.size()) + " chars)") : text)
                    .toStdString()
             << "]";
        return step.str();
    }

    std::string ClickControl() {
        QWidget* controls[] = {window_.txtDCGL,    window_.txtSigma,  window_.txtLBGR,    window_.Cboalpha,
                               window_.CboBeta,    window_.txtN,      window_.TxtM,       window_.OptSignTest,
                               window_.OptWRSTest, window_.PicChart,  window_.txtRadionuclide, window_.LblCV};
        QWidget* target = controls[Pick(12)];
        if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->lineEdit()) {
            ClickOn(combo->lineEdit());
        } else {
            ClickOn(target);
        }
        return "click " + target->objectName().toStdString();
    }

    std::string ChooseItem() {
        QComboBox* combo = Chance(50) ? window_.Cboalpha : window_.CboBeta;
        const int index = Pick(combo->count());
        ChooseListItem(combo, index);
        return "choose item " + std::to_string(index) + " of " + combo->objectName().toStdString();
    }

    std::string Scroll() {
        QScrollBar* bar = window_.ScrLBGR;
        switch (Pick(8)) {
            case 0: ClickScrollArrow(bar, true); return "scroll arrow right";
            case 1: ClickScrollArrow(bar, false); return "scroll arrow left";
            case 2: ClickScrollTrough(bar, true); return "scroll trough right";
            case 3: ClickScrollTrough(bar, false); return "scroll trough left";
            case 4:
            case 5: {
                // As a user would get there: the bar takes the focus first.
                const int value = Chance(50) ? Pick(1001) : (Chance(50) ? 0 : 1000);
                bar->setFocus(Qt::MouseFocusReason);
                Settle();
                bar->setValue(value);
                Settle();
                return "scroll setValue " + std::to_string(value);
            }
            case 6: {
                const int value = Chance(50) ? bar->minimum() : bar->maximum();
                DragScrollTo(bar, value);
                return "scroll drag to " + std::to_string(value);
            }
            default: {
                const int value = Pick(1001);
                DragScrollTo(bar, value);
                return "scroll drag towards " + std::to_string(value);
            }
        }
    }

    std::string Spin() {
        const bool up = Chance(50);
        const int clicks = Chance(70) ? 1 + Pick(3) : 5 + Pick(40);
        for (int i = 0; i < clicks; ++i) {
            if (up) {
                ClickSpinUp(window_.UpDSigma);
            } else {
                ClickSpinDown(window_.UpDSigma);
            }
        }
        return std::string("spin ") + (up ? "up" : "down") + " x" + std::to_string(clicks);
    }

    std::string TurnWheel() {
        QWidget* targets[] = {window_.ScrLBGR, window_.Cboalpha, window_.CboBeta, window_.PicChart};
        QWidget* target = targets[Pick(4)];
        const bool away = Chance(50);
        TurnWheelOver(target, away);
        return std::string("wheel ") + (away ? "away" : "towards") + " over " + target->objectName().toStdString();
    }

    std::string SwitchTest() {
        QRadioButton* option = Chance(50) ? window_.OptSignTest : window_.OptWRSTest;
        ClickOn(option);
        return "click " + option->objectName().toStdString();
    }

    std::string OtherKey() {
        static const std::pair<int, const char*> keys[] = {
            {Qt::Key_Return, "Return"}, {Qt::Key_Escape, "Escape"}, {Qt::Key_Up, "Up"},
            {Qt::Key_Down, "Down"},     {Qt::Key_Delete, "Delete"}, {Qt::Key_Backspace, "Backspace"},
            {Qt::Key_Home, "Home"},     {Qt::Key_Space, "Space"},
        };
        const auto& [key, name] = keys[Pick(8)];
        QWidget* focused = FocusedWidget();
        if (focused == static_cast<QWidget*>(window_.CmdExit) && (key == Qt::Key_Space || key == Qt::Key_Return)) {
            // That would end the session, not test it.
            return "no key on CmdExit";
        }
        PressKey(key);
        return std::string("key ") + name + " in " +
               (focused ? focused->objectName().toStdString() : std::string("(nothing)"));
    }

    // A list left open would swallow the next keys.
    void CloseStrayPopup() {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            Settle();
        }
    }

    frmSampleSizeandPower& window_;
    std::mt19937 random_;
};

bool ShowsNonNumber(const QString& text) {
    return text.contains("nan", Qt::CaseInsensitive) || text.contains("inf", Qt::CaseInsensitive);
}

double LeadingNumberOf(const QString& text) { return LeadingNumber(text.toStdString()); }

bool NearlyEqual(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// Once the user has left a box, its text and the stored value agree: the
// design must use what the window shows. (A box that holds the focus may
// hold a half-typed value.)
std::string TextsOutOfStep(const frmSampleSizeandPower& window) {
    std::ostringstream broken;
    const DesignState& s = window.State();
    // Single-precision values are compared as the text reads once stored.
    auto check = [&](QWidget* box, const QString& text, double stored, double tolerance, bool single = false) {
        if (HasFocusWithin(box)) return;
        const double read = LeadingNumberOf(text);
        const double shown = single ? static_cast<double>(static_cast<float>(read)) : read;
        if (!NearlyEqual(shown, stored, tolerance)) {
            broken << box->objectName().toStdString() << " shows '" << text.left(40).toStdString()
                   << "' but the design uses " << stored << "; ";
        }
    };
    check(window.txtDCGL, window.txtDCGL->text(), s.DCGL, 0.0);
    check(window.txtSigma, window.txtSigma->text(), s.Sigma, 1e-6 * s.Sigma, true);
    check(window.Cboalpha, window.Cboalpha->currentText(), s.Alpha, 1e-6 * s.Alpha, true);
    check(window.CboBeta, window.CboBeta->currentText(), s.Beta, 1e-6 * s.Beta, true);
    // The LBGR text may lie off the stored value by up to half a thousandth
    // of the DCGL when the bar did not move.
    check(window.txtLBGR, window.txtLBGR->text(), s.LBGR, 0.001 * s.DCGL);
    if (!HasFocusWithin(window.txtDCGL) && window.lblLBGRMax->text() != window.txtDCGL->text()) {
        broken << "lblLBGRMax '" << window.lblLBGRMax->text().toStdString() << "' differs from the DCGL text; ";
    }
    // The shift caption shows DoverS to two or three decimals.
    const QString caption = window.lblShift->caption();
    if (!caption.startsWith("D/s = ") ||
        !NearlyEqual(LeadingNumberOf(caption.mid(6)), s.DoverS, 0.005 + 1e-9 * std::fabs(s.DoverS))) {
        broken << "lblShift '" << caption.toStdString() << "' for DoverS " << s.DoverS << "; ";
    }
    return broken.str();
}

// Everything the window promises after any sequence of user actions. Empty
// when all holds; otherwise what failed.
std::string BrokenPromises(const frmSampleSizeandPower& window) {
    std::ostringstream broken;
    const DesignState& s = window.State();
    auto finite = [&](double value, const char* name) {
        if (!std::isfinite(value)) broken << name << " is " << value << "; ";
    };
    finite(s.Alpha, "Alpha");
    finite(s.Beta, "Beta");
    finite(s.Sigma, "Sigma");
    finite(s.DCGL, "DCGL");
    finite(s.LBGR, "LBGR");
    finite(s.Delta, "Delta");
    finite(s.DoverS, "DoverS");
    finite(s.WRSCriticalValue, "WRSCriticalValue");
    for (int i = 1; i <= kCurvePoints; ++i) {
        finite(s.CurveX[i], "CurveX");
        finite(s.CurvePower[i], "CurvePower");
    }
    if (!rules::AlphaInRange(s.Alpha)) broken << "Alpha " << s.Alpha << " outside (0, 0.5]; ";
    if (!rules::BetaInRange(s.Beta)) broken << "Beta " << s.Beta << " outside (0, 1]; ";
    if (rules::BothAtLeastHalf(s.Alpha, s.Beta)) broken << "Alpha and Beta both >= 0.5; ";
    if (!(s.Sigma > 0.0f)) broken << "Sigma " << s.Sigma << " not above 0; ";
    if (!rules::DCGLUsable(s.DCGL)) broken << "DCGL " << s.DCGL << " outside the usable range; ";
    if (!(s.LBGR >= 0.0 && s.LBGR <= s.DCGL)) {
        broken << "LBGR " << s.LBGR << " outside [0, DCGL " << s.DCGL << "]; ";
    }
    const int bar = window.ScrLBGR->value();
    if (bar < 0 || bar > 999) broken << "ScrLBGR at " << bar << "; ";

    const std::pair<const char*, QString> written[] = {
        {"txtN", window.txtN->text()},
        {"TxtM", window.TxtM->text()},
        {"LblCV", window.LblCV->text()},
        {"lblShift", window.lblShift->caption()},
        {"txtSigma", window.txtSigma->text()},
        {"txtDCGL", window.txtDCGL->text()},
        {"lblLBGRMax", window.lblLBGRMax->text()},
    };
    for (const auto& [name, text] : written) {
        if (ShowsNonNumber(text)) broken << name << " shows '" << text.toStdString() << "'; ";
    }
    if (!window.isVisible()) broken << "the window has closed; ";
    broken << TextsOutOfStep(window);
    return broken.str();
}

std::string StepLog(unsigned seed, const std::vector<std::string>& steps) {
    std::ostringstream log;
    log << "seed " << seed << ", " << steps.size() << " steps:\n";
    for (size_t i = 0; i < steps.size(); ++i) log << "  " << i + 1 << ": " << steps[i] << "\n";
    return log.str();
}

// What one step may change depends on what the step was: these checks look
// at the window before and after it.
class StepChecker {
public:
    explicit StepChecker(const frmSampleSizeandPower& window)
        : window_(window), shown_matches_selection_(ShownTest(window) == SelectedTest(window)) {}

    void BeforeStep() {
        selected_before_ = SelectedTest(window_);
        bar_before_ = window_.ScrLBGR->value();
        sigma_before_ = window_.State().Sigma;
    }

    std::string AfterStep(const std::string& action) {
        std::string faults = MinimumShiftFault(action);
        const TestKind selected = SelectedTest(window_);
        const TestKind shown = ShownTest(window_);
        // Once the shown results belong to the selected test they keep doing
        // so until the selection changes: a recalculation runs the selected
        // test, and a chart click always recalculates.
        const bool chart_clicked = action == "click chart" || action == "click PicChart";
        const bool must_match = chart_clicked || (shown_matches_selection_ && selected == selected_before_);
        if (must_match && shown != selected && !EngineResults(window_.State(), selected).size_out_of_range) {
            faults += "the window shows the other test's results; ";
        }
        if (const auto agree = ShowsEngineResults(window_, shown); !agree) {
            faults += std::string("shown results differ from the engine: ") + agree.message() + "; ";
        }
        shown_matches_selection_ = shown == selected;
        return faults;
    }

private:
    // A moved bar or a sigma step keeps the relative shift at 0.1 (to
    // single-precision rounding), unless LBGR had to go down to zero.
    std::string MinimumShiftFault(const std::string& action) const {
        const DesignState& state = window_.State();
        const bool stepped = action.rfind("spin", 0) == 0 && state.Sigma != sigma_before_;
        const bool scrolled = action.rfind("scroll", 0) == 0 && window_.ScrLBGR->value() != bar_before_;
        // Subnormal singles carry too few digits for the rule to land on 0.1.
        const bool subnormal = std::fabs(state.Delta) < FLT_MIN || state.Sigma < FLT_MIN;
        if ((stepped || scrolled) && !subnormal && state.DoverS < 0.1 * (1 - 1e-6) && state.LBGR != 0.0) {
            return "D/s " + std::to_string(state.DoverS) + " below 0.1 after the minimum-shift rule; ";
        }
        return {};
    }

    const frmSampleSizeandPower& window_;
    bool shown_matches_selection_;
    TestKind selected_before_ = TestKind::Sign;
    int bar_before_ = 0;
    float sigma_before_ = 0.0f;
};

struct FuzzRun {
    unsigned seed;
    // Real modal boxes take the focus from the window while they are up.
    bool real_message_boxes;
};

void PrintTo(const FuzzRun& run, std::ostream* out) {
    *out << "seed " << run.seed << (run.real_message_boxes ? " with message boxes" : "");
}

class WindowFuzzTest : public ::testing::TestWithParam<FuzzRun> {};

TEST_P(WindowFuzzTest, RandomUserKeepsTheDesignSound) {
    const unsigned seed = GetParam().seed;
    std::unique_ptr<RecordingMessages> recorder = GetParam().real_message_boxes
                                                      ? std::make_unique<ModalRecordingMessages>()
                                                      : std::make_unique<RecordingMessages>();
    RecordingMessages& messages = *recorder;
    std::string message_faults;
    messages.on_show = [&](const RecordedMessage& shown) {
        const KnownMessage* known = FindKnownMessage(shown.text);
        if (!known) {
            message_faults += "unknown message [" + shown.text.toStdString() + "]; ";
        } else if (known->icon != shown.icon) {
            message_faults += "message [" + known->name + "] with icon " +
                              std::to_string(static_cast<int>(shown.icon)) + "; ";
        }
    };
    auto window = std::make_unique<frmSampleSizeandPower>(messages);
    ASSERT_TRUE(ShowAndActivate(window.get()));

    RandomUser user(*window, seed);
    StepChecker checker(*window);
    std::vector<std::string> steps;
    for (int step = 0; step < kStepsPerSeed; ++step) {
        checker.BeforeStep();
        steps.push_back(user.Act());
        if (!window->isActiveWindow()) {
            window->activateWindow();
            (void)QTest::qWaitForWindowActive(window.get(), 1000);
        }
        const std::string faults = BrokenPromises(*window) + message_faults + checker.AfterStep(steps.back());
        if (!faults.empty()) {
            ADD_FAILURE() << faults << "\n" << StepLog(seed, steps);
            return;
        }
    }
}

std::vector<FuzzRun> Runs() {
    std::vector<FuzzRun> runs;
    for (unsigned seed : kSeeds) runs.push_back({seed, false});
    runs.push_back({kSeeds[0] + 1, true});
    return runs;
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowFuzzTest, ::testing::ValuesIn(Runs()),
                         [](const ::testing::TestParamInfo<FuzzRun>& info) {
                             return "seed" + std::to_string(info.param.seed) +
                                    (info.param.real_message_boxes ? "_message_boxes" : "");
                         });

}  // namespace
}  // namespace valdris::testing
