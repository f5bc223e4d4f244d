// SPDX-License-Identifier: Apache-2.0
#include "window_form_view.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "figure_fit.h"
#include "frm_sample_size_and_power.h"
#include "input_notes.h"
#include "notice_balloon.h"
#include "power_chart.h"
#include "power_chart_view.h"
#include "repeat_guard.h"
#include "result_texts.h"
#include "symbol_label.h"

namespace valdris {

namespace {

const QString kCriticalValueHeading = QString::fromStdString(kCriticalValueTitle + ":");

// Sets a flag for the length of one write.
class WriteScope {
public:
    explicit WriteScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~WriteScope() { flag_ = before_; }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

private:
    bool& flag_;
    const bool before_;
};

}  // namespace

void WindowFormView::SetText(FormControl control, const std::string& text) {
    const WriteScope write(applying_);
    const QString q = QString::fromStdString(text);
    frmSampleSizeandPower& w = window_;
    switch (control) {
    case FormControl::Alpha: w.Cboalpha->setEditText(q); break;
    case FormControl::Beta: w.CboBeta->setEditText(q); break;
    case FormControl::Sigma: w.txtSigma->setText(q); break;
    case FormControl::DCGL: w.txtDCGL->setText(q); break;
    case FormControl::LBGR: w.txtLBGR->setText(q); break;
    case FormControl::Radionuclide: w.txtRadionuclide->setText(q); break;
    case FormControl::LBGRMax:
        w.lblLBGRMax->setText(q);
        FitFigure(w.lblLBGRMax);
        break;
    case FormControl::Shift:
        w.lblShift->setCaption(q);
        // The label sizes itself to its caption, up to the frame's right edge.
        FitFigure(w.lblShift, w.lblShift->parentWidget()->contentsRect().right() + 1 - w.lblShift->x());
        w.lblShift->adjustSize();
        break;
    }
}

void WindowFormView::SetBar(int position) {
    const WriteScope write(applying_);
    window_.ScrLBGR->setValue(position);
}

void WindowFormView::ShowMessage(const Refusal& message) {
    messages_.Show(QString::fromStdString(message.text), message.icon);
}

QWidget* WindowFormView::ControlWidget(FormControl control) const {
    const frmSampleSizeandPower& w = window_;
    QWidget* const widgets[] = {w.Cboalpha, w.CboBeta, w.txtSigma, w.txtDCGL, w.txtLBGR,
                                w.lblLBGRMax, w.lblShift, w.txtRadionuclide};
    return widgets[static_cast<int>(control)];
}

void WindowFormView::Focus(FormControl control) { ControlWidget(control)->setFocus(); }

// The WRS test shows the reference area's size too; the Sign test hides it
// and TxtM keeps its text for when the WRS test is shown again. Results that
// could not be made empty the fields and the chart.
void WindowFormView::ShowResults(const FormResults& results, const DesignState& state) {
    frmSampleSizeandPower& w = window_;
    const bool wrs = results.test == TestKind::WRS;
    w.txtN->setText(QString::fromStdString(results.sample_size));
    FitFigure(w.txtN);
    if (wrs) {
        w.TxtM->setText(QString::fromStdString(results.sample_size));
        FitFigure(w.TxtM);
    }
    w.TxtM->setVisible(wrs);
    w.LblReferenceArea->setVisible(wrs);
    ShowCriticalValue(results.critical_value);
    if (results.made) {
        DrawPowerChart(state, w.PicChart->Surface());
    } else {
        w.PicChart->Surface().Clear();
    }
}

// The caption is "Critical Value:" with the value on the line below. A
// QLabel would draw a CR as a blank, so the lines break with LF alone.
void WindowFormView::ShowCriticalValue(const std::string& value) {
    window_.LblCV->setText(kCriticalValueHeading + QLatin1Char('\n') + QString::fromStdString(value));
    FitFigure(window_.LblCV);
}

void WindowFormView::ShowSelectedTest(TestKind test) {
    const WriteScope write(applying_);
    (test == TestKind::WRS ? window_.OptWRSTest : window_.OptSignTest)->setChecked(true);
}

void WindowFormView::Beep() { QApplication::beep(); }

void WindowFormView::ShowNotice(FormControl control, const std::string& text) {
    window_.noticeBalloon->ShowAt(ControlWidget(control), QString::fromStdString(text));
}

// The note stands beside the results, and the results' tooltips say it too;
// the captions stay as they are.
void WindowFormView::ShowResultsNote(const std::string& note, const std::string& tip) {
    frmSampleSizeandPower& w = window_;
    w.lblResultsNote->setText(QString::fromStdString(note));
    w.lblResultsNote->setToolTip(QString::fromStdString(tip));
    w.lblResultsNote->setVisible(!note.empty());
    const QString text = QString::fromStdString(tip);
    w.txtN->setToolTip(text);
    w.TxtM->setToolTip(text);
    const QString key_tip = QString::fromStdString(kCriticalValueKeyTip);
    w.LblCV->setToolTip(text.isEmpty() ? key_tip : key_tip + QLatin1Char('\n') + text);
}

bool WindowFormView::Busy() const { return closing_ || guard_.MessageOpen(); }

}  // namespace valdris
