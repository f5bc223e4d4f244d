// SPDX-License-Identifier: Apache-2.0
// The event wiring of the design window: each widget event goes to the
// design form, which holds the rules.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include "frm_sample_size_and_power.h"
#include "input_notes.h"
#include "horizontal_scroll_bar.h"
#include "lost_focus_watcher.h"
#include "power_chart_view.h"
#include "repeat_guard.h"
#include "up_down_control.h"

namespace valdris {

void frmSampleSizeandPower::WireEvents() {
    lost_focus_ = new LostFocusWatcher(this);
    // A combo box also reports "activated" when it loses the focus holding a
    // typed text that matches a list item (it then selects that item). That
    // is the box being left, which its lost-focus handler checks; a choice
    // from the list or with the arrow keys is a click.
    const auto is_list_choice = [this](const QComboBox* box) { return !lost_focus_->IsLosingFocus(box); };

    // Every text the user changes reaches the form; the form's own writes
    // run its change rules itself, nested, as Qt's signals would.
    const auto edits = [this](FormControl control) {
        return [this, control](const QString& text) {
            if (!view_.Applying()) form_.EditText(control, text.toStdString());
        };
    };
    const auto chosen = [this](TestKind test) {
        return [this, test](bool checked) {
            if (checked) form_.SelectTest(test);
        };
    };
    connections_ = {
        connect(txtDCGL, &QLineEdit::textChanged, this, edits(FormControl::DCGL)),
        connect(txtSigma, &QLineEdit::textChanged, this, edits(FormControl::Sigma)),
        connect(txtLBGR, &QLineEdit::textChanged, this, edits(FormControl::LBGR)),
        connect(txtRadionuclide, &QLineEdit::textChanged, this, edits(FormControl::Radionuclide)),
        connect(Cboalpha, &QComboBox::editTextChanged, this, edits(FormControl::Alpha)),
        connect(CboBeta, &QComboBox::editTextChanged, this, edits(FormControl::Beta)),
        connect(ScrLBGR, &QScrollBar::valueChanged, this,
                [this](int value) {
                    if (!view_.Applying()) form_.MoveBar(value);
                }),
        connect(OptSignTest, &QRadioButton::toggled, this, chosen(TestKind::Sign)),
        connect(OptWRSTest, &QRadioButton::toggled, this, chosen(TestKind::WRS)),
        // activated: the user chose a list item; text set by the program is no click.
        connect(Cboalpha, &QComboBox::activated, this,
                [this, is_list_choice] {
                    if (is_list_choice(Cboalpha)) form_.ChooseAlpha();
                }),
        connect(CboBeta, &QComboBox::activated, this,
                [this, is_list_choice] {
                    if (is_list_choice(CboBeta)) form_.ChooseBeta();
                }),
        connect(UpDSigma, &UpDownControl::upClicked, this, [this] { form_.SigmaUp(); }),
        connect(UpDSigma, &UpDownControl::downClicked, this, [this] { form_.SigmaDown(); }),
        connect(PicChart, &PowerChartView::clicked, this, [this] { PicChart_Click(); }),
        connect(CmdExit, &QPushButton::clicked, this, [this] { CmdExit_Click(); }),
        connect(MnuExit, &QAction::triggered, this, [this] { CmdExit_Click(); }),
        connect(mnuGettingStarted, &QAction::triggered, this, [this] { emit gettingStartedRequested(); }),
        connect(mnuAbout, &QAction::triggered, this, [this] { emit aboutRequested(); }),
    };

    // The arrows from the keyboard; off, with the reason, while they step by 0.
    UpDSigma->StepWithKeysOf(txtSigma);
    connections_.push_back(connect(this, &frmSampleSizeandPower::recalculated, this, [this] { ShowSigmaStep(); }));
    // The thumb's tip says what letting it go would write; nothing runs before.
    if (auto* bar = qobject_cast<HorizontalScrollBar*>(ScrLBGR)) {
        bar->ShowWhileDragging(
            [this](int position) { return tr("LBGR = %1").arg(QString::fromStdString(form_.LBGRTextAtBar(position))); });
    }

    // A held arrow steps until its release, and a message box must end it.
    repeat_guard_->Watch(ScrLBGR);
    repeat_guard_->Watch(UpDSigma->upButton());
    repeat_guard_->Watch(UpDSigma->downButton());

    lost_focus_->Watch(txtDCGL, [this] { form_.LeaveDCGL(); });
    lost_focus_->Watch(txtSigma, [this] { form_.LeaveSigma(); });
    lost_focus_->Watch(txtLBGR, [this] { form_.LeaveLBGR(); });
    // An editable combo box takes the focus itself; its line edit forwards it.
    lost_focus_->Watch(Cboalpha, [this] { form_.LeaveAlpha(); });
    lost_focus_->Watch(CboBeta, [this] { form_.LeaveBeta(); });
}

// Every accepted DCGL recalculates, so after each recalculation the arrows
// show the step the DCGL now gives.
void frmSampleSizeandPower::ShowSigmaStep() {
    const double step = form_.SigmaStep();
    UpDSigma->SetArrowsEnabled(step > 0, QString::fromStdString(SigmaArrowsTip(step)));
}

}  // namespace valdris
