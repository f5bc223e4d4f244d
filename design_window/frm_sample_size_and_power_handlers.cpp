// SPDX-License-Identifier: Apache-2.0
// The event wiring of the design window and the steps its input handlers share.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "figure_fit.h"
#include "frm_sample_size_and_power.h"
#include "frm_sample_size_and_power_run.h"
#include "input_rules.h"
#include "lost_focus_watcher.h"
#include "power_chart_view.h"
#include "repeat_guard.h"
#include "result_texts.h"
#include "symbol_label.h"
#include "up_down_control.h"

namespace valdris {

namespace {

bool IsDigitOrPoint(QChar c) { return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'); }

}  // namespace

void frmSampleSizeandPower::WireEvents() {
    lost_focus_ = new LostFocusWatcher(this);
    // A combo box also reports "activated" when it loses the focus holding a
    // typed text that matches a list item (it then selects that item). That
    // is the box being left, which its lost-focus handler checks; a choice
    // from the list or with the arrow keys is a click.
    const auto is_list_choice = [this](const QComboBox* box) { return !lost_focus_->IsLosingFocus(box); };

    // Qt emits textChanged and valueChanged inside setText and setValue, so
    // the change handlers run nested when a handler writes these controls;
    // an unchanged text or value emits nothing.
    connections_ = {
        connect(txtDCGL, &QLineEdit::textChanged, this, [this] { txtDCGL_Change(); }),
        connect(txtSigma, &QLineEdit::textChanged, this, [this] { txtSigma_Change(); }),
        connect(ScrLBGR, &QScrollBar::valueChanged, this, [this] { ScrLBGR_Change(); }),
        // activated: the user chose a list item; text set by the program is no click.
        connect(Cboalpha, &QComboBox::activated, this, [this, is_list_choice] {
            if (is_list_choice(Cboalpha)) Cboalpha_Click();
        }),
        connect(CboBeta, &QComboBox::activated, this, [this, is_list_choice] {
            if (is_list_choice(CboBeta)) CboBeta_Click();
        }),
        connect(UpDSigma, &UpDownControl::upClicked, this, [this] { UpDSigma_UpClick(); }),
        connect(UpDSigma, &UpDownControl::downClicked, this, [this] { UpDSigma_DownClick(); }),
        connect(PicChart, &PowerChartView::clicked, this, [this] { PicChart_Click(); }),
        connect(CmdExit, &QPushButton::clicked, this, [this] { CmdExit_Click(); }),
        connect(MnuExit, &QAction::triggered, this, [this] { CmdExit_Click(); }),
        connect(mnuGettingStarted, &QAction::triggered, this, [this] { emit gettingStartedRequested(); }),
        connect(mnuAbout, &QAction::triggered, this, [this] { emit aboutRequested(); }),
    };

    // A held arrow steps until its release, and a message box must end it.
    repeat_guard_->Watch(ScrLBGR);
    repeat_guard_->Watch(UpDSigma->upButton());
    repeat_guard_->Watch(UpDSigma->downButton());

    lost_focus_->Watch(txtDCGL, [this] { txtDCGL_LostFocus(); });
    lost_focus_->Watch(txtSigma, [this] { txtSigma_LostFocus(); });
    lost_focus_->Watch(txtLBGR, [this] { txtLBGR_LostFocus(); });
    // An editable combo box takes the focus itself; its line edit forwards it.
    lost_focus_->Watch(Cboalpha, [this] { Cboalpha_LostFocus(); });
    lost_focus_->Watch(CboBeta, [this] { CboBeta_LostFocus(); });
}

// --- Character filter ---------------------------------------------------------

void frmSampleSizeandPower::txtDCGL_Change() {
    HandlerRun run(*this);
    if (run) ApplyCharacterFilter(txtDCGL);
}

void frmSampleSizeandPower::txtSigma_Change() {
    HandlerRun run(*this);
    if (run) ApplyCharacterFilter(txtSigma);
}

// Keeps a box to digits and one point. The text is cut just before its first
// other character, the rest going with it: trimming the last character and
// filtering again, one character at a time, ends at the same text, so the cut
// is made at once (a long pasted text would otherwise nest once per
// character). Setting the text runs this filter again on the result, which
// then checks the points.
void frmSampleSizeandPower::ApplyCharacterFilter(QLineEdit* box) {
    const QString text = box->text();
    for (int i = 0; i < text.size(); ++i) {
        if (!IsDigitOrPoint(text[i])) {
            box->setText(text.left(i));
            return;
        }
    }
    if (text.count(QLatin1Char('.')) > 1) {
        messages_.Show(QString::fromStdString(rules::kCheckDecimalPoint), MessageIcon::None);
        box->setText(QString());
    }
}

// --- Shift ----------------------------------------------------------------------

void frmSampleSizeandPower::ShowShift(int decimals) {
    lblShift->setCaption(QString::fromStdString(ShiftText(state_.DoverS, decimals)));
    // The label sizes itself to its caption, up to the frame's right edge.
    FitFigure(lblShift, lblShift->parentWidget()->contentsRect().right() + 1 - lblShift->x());
    lblShift->adjustSize();
}

void frmSampleSizeandPower::Show(const Refusal& refusal) {
    messages_.Show(QString::fromStdString(refusal.text), refusal.icon);
}

}  // namespace valdris
