// SPDX-License-Identifier: Apache-2.0
#include "frm_sample_size_and_power.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QMenuBar>
#include <QScrollArea>
#include <QVariant>
#include <cmath>

#include "context_ids.h"
#include "figure_fit.h"
#include "frm_sample_size_and_power_run.h"
#include "design_inputs.h"
#include "input_rules.h"
#include "lost_focus_watcher.h"
#include "number_text.h"
#include "power_chart.h"
#include "power_chart_view.h"
#include "repeat_guard.h"
#include "result_texts.h"
#include "symbol_label.h"
#include "valdris_power.h"
#include "window_placement.h"

namespace valdris {

namespace {

// The lists of both decision error boxes, smallest first.
const char* const kDecisionErrorItems[] = {"0.01", "0.025", "0.05", "0.10", "0.25", "0.50"};
const char* const kDefaultDecisionError = "0.05";
const char* const kDefaultDCGLText = "1";

const QString kCriticalValueHeading = QStringLiteral("Critical Value:");

}  // namespace

frmSampleSizeandPower::frmSampleSizeandPower(MessageBoxes& messages, QWidget* parent)
    : QMainWindow(parent), repeat_guard_(new RepeatGuard(messages, this)), messages_(*repeat_guard_) {
    BuildLayout();
    WireEvents();
    AddReportMenus();
    Form_Load();
}

frmSampleSizeandPower::~frmSampleSizeandPower() {
    // The children die after this body: no handler may run on them.
    StopHandlers();
    if (!unloaded_) Form_UnLoad();
}

void frmSampleSizeandPower::StopHandlers() {
    closing_ = true;
    if (lost_focus_) lost_focus_->Detach();
    for (const QMetaObject::Connection& connection : connections_) disconnect(connection);
    connections_.clear();
}

// --- Load, show, close ------------------------------------------------------

void frmSampleSizeandPower::Form_Load() {
    SetupHelp(winId());
    SetHelpContextID(this, kHelpContextDesignWindow);
    SetHelpContextID(mnuFile, kHelpContextFileMenu);
    SetHelpContextID(mnuHelp, kHelpContextHelpMenu);

    CentreOnScreen();

    txtDCGL->setText(QString::fromLatin1(kDefaultDCGLText));
    state_.DCGL = LeadingNumber(txtDCGL->text().toStdString());
    accepted_dcgl_text_ = txtDCGL->text();

    txtLBGR->setText(QString::fromStdString(WriteNumber(state_.DCGL * 0.5)));
    state_.LBGR = LeadingNumber(txtLBGR->text().toStdString());
    // The scroll bar keeps its layout position, 500, which is the same LBGR.

    txtSigma->setText(QString::fromStdString(FormatHashHashPointHashHash(state_.DCGL / 2)));
    state_.Sigma = ToSingle(LeadingNumber(txtSigma->text().toStdString()));

    UpdateShift(state_);
    ShowShift(2);

    lblLBGRMin->setText(QStringLiteral("0"));
    lblLBGRMax->setText(txtDCGL->text());
    FitFigure(lblLBGRMax);

    for (QComboBox* box : {Cboalpha, CboBeta}) {
        for (const char* item : kDecisionErrorItems) box->addItem(QString::fromLatin1(item));
        // Select the matching item too, so that the list opens on it.
        box->setCurrentIndex(box->findText(QString::fromLatin1(kDefaultDecisionError)));
        box->setEditText(QString::fromLatin1(kDefaultDecisionError));
    }
    state_.Alpha = ToSingle(LeadingNumber(Cboalpha->currentText().toStdString()));
    state_.Beta = ToSingle(LeadingNumber(CboBeta->currentText().toStdString()));

    Recalculate();
}

// Centres the outer frame (title bar, borders and menu bar included). Until
// the window is on screen its frame is not known and a usual one is assumed;
// once the window manager has told the frame it drew, the window is centred
// again with it, once. On a screen too small for it the window is made as
// large as the screen allows, and its surface scrolls.
void frmSampleSizeandPower::CentreOnScreen() { valdris::CentreOnScreen(this, WantedClientSize(), FrameMargins(this)); }

// The surface and the menu bar above it, as the layout gives it room.
QSize frmSampleSizeandPower::WantedClientSize() {
    layout()->activate();
    const QSize surface = static_cast<QScrollArea*>(centralWidget())->widget()->size();
    return {surface.width(), surface.height() + centralWidget()->y()};
}

void frmSampleSizeandPower::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        CentreOnScreenOnceFramed(this, [this] { return WantedClientSize(); });
    }
}

void frmSampleSizeandPower::Form_UnLoad() {
    unloaded_ = true;
    CloseHelp();
}

void frmSampleSizeandPower::closeEvent(QCloseEvent* event) {
    // The unload is never cancelled; from here on no input handler runs.
    StopHandlers();
    if (!unloaded_) Form_UnLoad();
    event->accept();
}

void frmSampleSizeandPower::CmdExit_Click() {
    HandlerRun run(*this);
    if (!run) return;
    close();
}

void frmSampleSizeandPower::PicChart_Click() {
    HandlerRun run(*this);
    if (!run) return;
    Recalculate();
}

// --- Recalculation and results ----------------------------------------------

void frmSampleSizeandPower::Recalculate() {
    HandlerRun run(*this);
    if (!run) return;
    // Both buttons are read afresh: the selected test is not stored.
    if (OptWRSTest->isChecked()) RunWRSTestDesign();
    if (OptSignTest->isChecked()) RunSignTestDesign();
    emit recalculated();
}

void frmSampleSizeandPower::RunWRSTestDesign() {
    if (RunTestDesign(TestKind::WRS, state_) != DesignResult::Shown) {
        ShowDesignRefused(/*reference_area_shown=*/true);
        return;
    }
    const QString size = QString::number(state_.WRSN);
    txtN->setText(size);
    TxtM->setText(size);
    FitFigure(txtN);
    FitFigure(TxtM);
    TxtM->setVisible(true);
    LblReferenceArea->setVisible(true);
    ShowCriticalValue(QString::fromStdString(CriticalValueText(TestKind::WRS, state_)));
    DrawPowerChart(state_, PicChart->Surface());
}

void frmSampleSizeandPower::RunSignTestDesign() {
    if (RunTestDesign(TestKind::Sign, state_) != DesignResult::Shown) {
        ShowDesignRefused(/*reference_area_shown=*/false);
        return;
    }
    txtN->setText(QString::number(state_.SignN));
    FitFigure(txtN);
    // TxtM keeps its text for when the WRS test is shown again.
    TxtM->setVisible(false);
    LblReferenceArea->setVisible(false);
    ShowCriticalValue(QString::fromStdString(CriticalValueText(TestKind::Sign, state_)));
    DrawPowerChart(state_, PicChart->Surface());
}

// The caption is "Critical Value:" with the value on the line below. A
// QLabel would draw a CR as a blank, so the lines break with LF alone.
void frmSampleSizeandPower::ShowCriticalValue(const QString& value_text) {
    LblCV->setText(kCriticalValueHeading + QLatin1Char('\n') + value_text);
    FitFigure(LblCV);
}

// The inputs ask for more samples than can be counted: no figure is shown
// rather than a wrong one, and the window goes on with the next input.
void frmSampleSizeandPower::ShowDesignRefused(bool reference_area_shown) {
    txtN->clear();
    FitFigure(txtN);
    if (reference_area_shown) {
        TxtM->clear();
        FitFigure(TxtM);
    }
    TxtM->setVisible(reference_area_shown);
    LblReferenceArea->setVisible(reference_area_shown);
    ShowCriticalValue(QString());
    PicChart->Surface().Clear();
    if (!design_refusal_shown_) {
        design_refusal_shown_ = true;
        Show({rules::kSampleSizeTooLarge, MessageIcon::Exclamation});
    }
}

}  // namespace valdris
