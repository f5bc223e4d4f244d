// Randomised user: a seeded generator drives the design window through random
// keys, texts, clicks, list choices, scroll and spin actions. After every
// step the design state must hold only finite numbers inside the ranges the
// input rules promise, and the window must show what the engine computes for
// that state. A failure prints the seed and the steps so far, to be replayed.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "expected_results.h"
#include "frm_sample_size_and_power.h"
#include "input_rules.h"
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
constexpr int kStepsPerSeed = 250;
#else
constexpr int kStepsPerSeed = 1500;
#endif
constexpr unsigned kSeeds[] = {20260101u, 7u, 914u};

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Every message the window may show, with its icon; the ones the window adds
// for inputs the rules do not cover may carry any icon.
struct KnownMessage {
    QString text;
    std::optional<MessageIcon> icon;
};
const std::vector<KnownMessage>& KnownMessages() {
    static const std::vector<KnownMessage> known = {
        {Q(rules::kAlphaBetaBothLarge), MessageIcon::Exclamation},
        {Q(rules::kAlphaRange), MessageIcon::Exclamation},
        {Q(rules::kBetaRange), MessageIcon::Exclamation},
        {Q(rules::kSigmaNotPositive), MessageIcon::Exclamation},
        {Q(rules::kSigmaTooLarge), MessageIcon::None},
        {Q(rules::kLBGRAboveDCGL), MessageIcon::Exclamation},
        {Q(rules::kLBGRNegative), MessageIcon::None},
        {Q(rules::kLBGRResetToHalf), MessageIcon::Information},
        {Q(rules::kCheckDecimalPoint), MessageIcon::None},
        {Q(rules::kMinimumShiftFirstLine + "\r\n" + rules::kMinimumShiftScrollLine), MessageIcon::None},
        {Q(rules::kMinimumShiftFirstLine + "\r\n" + rules::kMinimumShiftSigmaLine), MessageIcon::None},
        {Q(rules::kDCGLUnusable), std::nullopt},
        {Q(rules::kNumberTooLarge), std::nullopt},
        {Q(rules::kSampleSizeTooLarge), std::nullopt},
    };
    return known;
}

class RandomUser {
public:
    RandomUser(frmSampleSizeandPower& window, unsigned seed) : window_(window), random_(seed) {}

    // One random action; returns its description for the step log.
    std::string Act() {
        CloseStrayPopup();
        switch (Pick(14)) {
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
        switch (Pick(8)) {
            case 0: return "0." + QString(40, '0') + "1";
            case 1: return RandomDigits(400);
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
            case 4: {
                const int value = Pick(1001);
                bar->setValue(value);
                Settle();
                return "scroll setValue " + std::to_string(value);
            }
            case 5: {
                const int value = Chance(50) ? 0 : 1000;
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
    if (!rules::DCGLUsable(s.DCGL)) broken << "DCGL " << s.DCGL << " outside [1e-30, 1e30]; ";
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
    return broken.str();
}

std::string StepLog(unsigned seed, const std::vector<std::string>& steps) {
    std::ostringstream log;
    log << "seed " << seed << ", " << steps.size() << " steps:\n";
    for (size_t i = 0; i < steps.size(); ++i) log << "  " << i + 1 << ": " << steps[i] << "\n";
    return log.str();
}

class WindowFuzzTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(WindowFuzzTest, RandomUserKeepsTheDesignSound) {
    const unsigned seed = GetParam();
    RecordingMessages messages;
    std::string message_faults;
    messages.on_show = [&](const RecordedMessage& shown) {
        for (const KnownMessage& known : KnownMessages()) {
            if (known.text == shown.text) {
                if (known.icon && *known.icon != shown.icon) {
                    message_faults += "message [" + shown.text.toStdString() + "] with icon " +
                                      std::to_string(static_cast<int>(shown.icon)) + "; ";
                }
                return;
            }
        }
        message_faults += "unknown message [" + shown.text.toStdString() + "]; ";
    };
    auto window = std::make_unique<frmSampleSizeandPower>(messages);
    ASSERT_TRUE(ShowAndActivate(window.get()));

    RandomUser user(*window, seed);
    std::vector<std::string> steps;
    // Once the shown results belong to the selected test they keep doing so
    // until the selection changes: a recalculation runs the selected test.
    bool shown_matches_selection = ShownTest(*window) == SelectedTest(*window);
    for (int step = 0; step < kStepsPerSeed; ++step) {
        const TestKind selected_before = SelectedTest(*window);
        steps.push_back(user.Act());
        if (!window->isActiveWindow()) {
            window->activateWindow();
            (void)QTest::qWaitForWindowActive(window.get(), 1000);
        }

        std::string faults = BrokenPromises(*window) + message_faults;
        const TestKind selected = SelectedTest(*window);
        const TestKind shown = ShownTest(*window);
        const ShownResults for_selected = EngineResults(window->State(), selected);
        const bool must_match =
            steps.back() == "click chart" || steps.back() == "click PicChart" ||
            (shown_matches_selection && selected == selected_before);
        if (must_match && shown != selected && !for_selected.size_out_of_range) {
            faults += "the window shows the other test's results; ";
        }
        if (const auto agree = ShowsEngineResults(*window, shown); !agree) {
            faults += std::string("shown results differ from the engine: ") + agree.message() + "; ";
        }
        shown_matches_selection = shown == selected;
        if (!faults.empty()) {
            ADD_FAILURE() << faults << "\n" << StepLog(seed, steps);
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowFuzzTest, ::testing::ValuesIn(kSeeds));

}  // namespace
}  // namespace valdris::testing
